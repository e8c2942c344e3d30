// display_name.h: the name of a known ROM as the list, the lists on disk and Rename show it.
#pragma once

#include <cstdint>

// A name built for one caller: each call returns its own text, so the UI thread and the
// scan worker can build names at the same time.
struct NameText {
  char text[1024];
};

// The display name of record index under the naming options of this moment.
NameText BuildDisplayName(int index);

// A size in megabits as the system shows it: size * 8 in 32-bit signed arithmetic
// (wrapping from 256 MiB on), divided by 1048576, truncated toward zero.
int32_t MbitFigure(int32_t size);
