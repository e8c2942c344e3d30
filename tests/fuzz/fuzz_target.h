// fuzz_target.h: what every fuzz target shares: a quiet main window, a private folder that is
// program directory and current directory (removed at exit), and the table of the haves target.
#pragma once

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/program_dir.h"
#include "support/fixtures.h"
#include "support/quiet_window.h"
#include "support/temp_folder.h"

inline TempFolder g_fuzz_folder("tarnwick-fuzz");
inline QuietWindow g_fuzz_window(false);

// Once per process; the table and the options start zero. Standard output is silenced:
// identification reports every damaged zip there.
inline void SetUpFuzzProcess() {
  if (!g_fuzz_folder.ok() || chdir(g_fuzz_folder.path().c_str()) != 0 ||
      freopen("/dev/null", "w", stdout) == nullptr)
    abort();
  SetMainWindow(&g_fuzz_window);
  SetProgramDirectory(g_fuzz_folder.System("tarnwick.exe").c_str());
}

// The input as a file of the private folder: its path in the program's format, "" if unwritten.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  return WriteFile(g_fuzz_folder / name, bytes) ? g_fuzz_folder.System(name) : "";
}

// 64 ROMs of Image(i, 64), every third crc in upper case as some dats write them.
inline std::vector<DatRom> FuzzRoms() {
  std::vector<DatRom> roms;
  for (int i = 0; i < 64; ++i) {
    roms.push_back(RomOf(Image(i, 64), "Game " + std::to_string(i)));
    if (i % 3 == 0)
      for (char& c : roms.back().crc) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  }
  return roms;
}
