// fuzz_ini.cpp: the INI reader on an arbitrary qvxgba.ini. "DB=database.zip" names a good
// database in the current folder, so the options pass is reached too.
#include <cstdlib>

#include "fuzz_seed_data.h"
#include "fuzz_support.h"
#include "app/startup.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUpFuzzProcess();
  if (!WriteSeedDatabase(FuzzDir() + "database.zip")) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzFile("qvxgba.ini", data, size)) return 0;
  // Each run starts as the program does: empty fields, every option zero.
  FuzzWindow().ClearFields();
  ResetSettings();
  LoadIni();
  return 0;
}
