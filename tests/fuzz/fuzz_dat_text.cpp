// fuzz_dat_text.cpp: the dat parsers (QVX, Logiqx, clrmamepro, as the text picks) on arbitrary
// expanded text, then the list built from it.
#include <cstdlib>
#include <cstring>

#include "app/list_commands.h"
#include "database/dat_file.h"
#include "database/rom_table.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The parser expects a zeroed table; clearing only what the last run wrote is much cheaper
  // than zeroing all 8096 records.
  memset(g_roms, 0, sizeof(RomRecord) * static_cast<size_t>(rom_count));
  rom_count = 0;
  // A copy of its own, as a load has: an XML dat is parsed in place.
  char* text = static_cast<char*>(malloc(size + 1));
  if (text == nullptr) return 0;
  memcpy(text, data, size);
  DatError error;
  if (ParseDatabase(text, size, nullptr, nullptr, &error) == DatParse::kParsed) RefreshRomList();
  free(text);
  return 0;
}
