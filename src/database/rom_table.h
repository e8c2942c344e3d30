// rom_table.h: the one in-memory copy of the loaded database, fixed at 8096 records. It is
// process-wide: written by a load and by SaveLists' sort, while have flags also change in a scan.
#pragma once

#include <cstdint>

// Field widths are part of the format: a text field holds at most width - 1 characters.
constexpr int kTextFieldSize = 128;
constexpr int kGroupFieldSize = 116;

struct RomRecord {
  char name[kTextFieldSize];
  char category[kTextFieldSize];
  char number[kTextFieldSize];
  char crc[kTextFieldSize];
  int32_t size;
  int32_t have;  // 0 or 1; the only field that changes outside a load or a list save
  char group[kGroupFieldSize];
  char extra_text[kTextFieldSize];  // never filled by the loader
  char friendly_name[kTextFieldSize];
  char scene_name[kTextFieldSize];
};

// The table is fixed: its size decides which lines a load keeps.
constexpr int kMaxRoms = 8096;
static_assert(kMaxRoms <= 0x7FFF, "a record's position fits 16 bits");
extern RomRecord g_roms[kMaxRoms];  // zero at start-up; cleared by every load
extern int32_t rom_count;

// How the loaded dat's names tell a country: QVX dats by tags such as "(U)" and "(E)", Logiqx
// and clrmamepro dats by region tags such as "(USA, Europe)". Set by a load, kQvx when empty.
enum class NameTags { kQvx, kRegions };
extern NameTags g_name_tags;

// Empties the table: rom_count 0, every record zeroed, QVX name tags.
void ClearRomTable();

// The scan worker sets have while the UI thread may walk the table to refresh the list;
// the flag is one aligned word, read and written whole.
inline bool IsOwned(const RomRecord& record) {
  return __atomic_load_n(&record.have, __ATOMIC_RELAXED) == 1;
}
inline void SetOwned(RomRecord& record, bool owned) {
  __atomic_store_n(&record.have, owned ? 1 : 0, __ATOMIC_RELAXED);
}
