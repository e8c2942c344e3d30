// program_dir.h: the folder of the executable, prefix of every file kept beside it; process-wide,
// set once at start-up.
#pragma once

#include <cstddef>

#include "base/text.h"

constexpr size_t kProgramDirSize = 2048;

// Sets the program directory from the executable's full path: the path cut after its last
// "\" or ":" (the first character is never looked at); a path with neither stays whole.
void SetProgramDirectory(const char* executable_path);
const char* ProgramDirectory();

// Room for the program directory and any of our file names.
constexpr size_t kProgramFilePathSize = kProgramDirSize + 64;

// The program directory followed directly by name; false when it does not fit.
template <size_t N>
bool ProgramFilePath(char (&out)[N], const char* name) {
  return Format(out, "%s%s", ProgramDirectory(), name);
}
