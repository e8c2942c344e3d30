// fuzz_identify.cpp: identification of an arbitrary file named ".zip".
#include "fuzz_support.h"
#include "scanner/identify.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzFile("game.zip", data, size)) return 0;
  IdentifyFile(FuzzSystemPath("game.zip").c_str(), "game.zip");
  return 0;
}
