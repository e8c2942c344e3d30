// crc_index.cpp: the record walk behind CrcIndex.
#include "database/crc_index.h"

#include "base/text.h"

void CrcIndex::Build() { count_ = rom_count; }

bool CrcIndex::CrcTextMatches(int index, const char* text) {
  return EqualFolded(g_roms[index].crc, text);
}
