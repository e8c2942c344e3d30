// rom_rows.h: which records the ROM list shows under the show filter, and the three counters.
#pragma once

#include <cstdint>

struct RomCounts {
  int32_t have;   // owned records, any category
  int32_t miss;   // included records not owned
  int32_t known;  // have + miss
};

// Counts over the loaded table under the include options of this moment.
RomCounts CountRoms();

// Whether record index is a row of the list. Only Show Miss and Show All decide: with neither
// on, the owned records are listed.
bool IsRomListed(int index, bool show_all, bool show_miss);
