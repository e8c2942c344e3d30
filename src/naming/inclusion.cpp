// inclusion.cpp: regular releases always count; special dumps count when their flag is on.
#include "naming/inclusion.h"

#include <cstring>

#include "database/rom_table.h"
#include "settings/settings.h"

bool IsCategoryIncluded(const char* category) {
  // Plain, case-sensitive substring search: "BetaRoms" is a regular release.
  const struct {
    const char* keyword;
    int32_t flag;
  } kKeywords[] = {
      {"Alt", g_settings.IncAlt},
      {"Beta", g_settings.IncBeta},
      {"DevKitDemos", g_settings.IncDevKit},
      {"Hardware", g_settings.IncHardware},
      {"Pirate", g_settings.IncPirate},
      {"PnesHacks", g_settings.IncPnesHacks},
      {"PreTrained", g_settings.IncPreTrained},
      {"Scene", g_settings.IncScene},
  };
  if (strstr(category, "Roms") != nullptr) return true;
  for (const auto& entry : kKeywords)
    if (entry.flag != 0 && strstr(category, entry.keyword) != nullptr) return true;
  return false;
}

bool IsRomIncluded(int index) { return IsCategoryIncluded(g_roms[index].category); }
