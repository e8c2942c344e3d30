// fuzz_ini.cpp: the INI parser on arbitrary bytes: the path lines and the option lines.
#include <cstdlib>
#include <cstring>

#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  IniPaths paths = {};
  ParseIniPaths(bytes, size, &paths);
  Settings settings = {};
  ParseIniOptions(bytes, size, &settings);
  // A path runs over its field, or a number is more than one digit: both would reach the window.
  for (const char* value : paths.value)
    if (memchr(value, '\0', kPathFieldSize) == nullptr) abort();
  if (settings.NAME < 0 || settings.NAME > 9 || settings.TYPE < 0 || settings.TYPE > 9) abort();
  return 0;
}
