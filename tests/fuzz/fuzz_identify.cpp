// fuzz_identify.cpp: identification of an arbitrary file named ".zip".
#include <cstring>

#include "fuzz/fuzz_target.h"
#include "scanner/identify.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteInput("game.zip", data, size);
  if (path.empty()) return 0;
  Identity identity = IdentifyFile(path.c_str(), "game.zip");
  if (identity.image_count == 1 && strlen(identity.key) != 8) abort();  // a key matches nothing
  return 0;
}
