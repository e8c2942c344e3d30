// rom_list.h: the on-screen ROM list, its show filter and the three counters.
#pragma once

#include <cstdint>

struct RomCounts {
  int32_t have;   // owned records, any category
  int32_t miss;   // included records not owned
  int32_t known;  // have + miss
};

// Counts over the loaded table under the include options of this moment.
RomCounts CountRoms();

// Rebuilds the ROM list and the counters from the table; enables SaveLists once a ROM is owned.
void RefreshRomList();
