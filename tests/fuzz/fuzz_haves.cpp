// fuzz_haves.cpp: reading an arbitrary haves file over a loaded table.
#include <cstdlib>
#include <string>

#include "app/load.h"
#include "database/dat_parser.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "fuzz_seed_data.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  std::string dat = SeedDat(64, false);
  if (!ParseDat(dat.data(), dat.size())) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzFile(kHavesFileName, data, size)) return 0;
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  MarkHaves();
  return 0;
}
