// rom_table.cpp: the static ROM table.
#include "database/rom_table.h"

#include <cstring>

RomRecord g_roms[kMaxRoms];
int32_t rom_count = 0;
NameTags g_name_tags = NameTags::kQvx;

void ClearRomTable() {
  rom_count = 0;
  g_name_tags = NameTags::kQvx;
  memset(g_roms, 0, sizeof(g_roms));
}
