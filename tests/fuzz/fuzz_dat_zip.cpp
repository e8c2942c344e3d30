// fuzz_dat_zip.cpp: a whole database load from an arbitrary file.
#include "app/load.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteInput("database.zip", data, size);
  if (!path.empty()) LoadDatabase(path.c_str());
  return 0;
}
