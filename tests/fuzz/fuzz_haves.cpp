// fuzz_haves.cpp: reading an arbitrary haves file over a loaded table.
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  for (const DatRom& rom : FuzzRoms()) AddRom(rom);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (WriteInput(kHavesFileName, data, size).empty()) return 0;
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  MarkHaves();
  return 0;
}
