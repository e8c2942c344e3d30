// rom_table.cpp: the static ROM table.
#include "database/rom_table.h"

#include <cstring>

RomRecord g_roms[kMaxRoms];
int32_t rom_count = 0;

void ClearRomTable() {
  rom_count = 0;
  memset(g_roms, 0, sizeof(g_roms));
}
