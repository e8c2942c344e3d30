// fuzz_dat_zip.cpp: a whole database load from an arbitrary file.
#include "app/load.h"
#include "database/dat_parser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzFile("database.zip", data, size)) return 0;
  LoadDatabase(FuzzSystemPath("database.zip").c_str());
  return 0;
}
