// sub_folder.cpp: classification of a ROM into a sub-folder name.
#include "naming/sub_folder.h"

#include <cstring>

#include "base/text.h"
#include "database/rom_table.h"
#include "settings/settings.h"

// Searched in this order; the first tag found decides.
static const struct {
  const char* tag;
  const char* country;
} kCountryTags[] = {
    {"(U)", "USA"},    {"(E)", "Europe"}, {"(X)", "Europe"}, {"(Y)", "Europe"},  {"(J)", "Japan"},
    {"(Ch)", "China"}, {"(S)", "Spain"},  {"(F)", "France"}, {"(G)", "Germany"}, {"(I)", "Italy"},
};

const char* CountryOfName(const char* name) {
  for (const auto& entry : kCountryTags)
    if (strstr(name, entry.tag) != nullptr) return entry.country;
  return "UNKNOWN";
}

NameText BuildSubFolderName(int index) {
  const RomRecord& rom = g_roms[index];
  NameText result;
  result.text[0] = '\0';
  switch (g_settings.TYPE) {
    case 0:
      CopyText(result.text, rom.category);
      break;
    case 1:
      CopyText(result.text, CountryOfName(rom.name));
      break;
    case 2:
      Format(result.text, "%imbit", static_cast<int>(MbitFigure(rom.size)));
      break;
    case 3:
      CopyText(result.text, rom.extra_text);
      break;
    case 4:
      CopyText(result.text, rom.group);
      break;
    default:
      break;  // no classification: never reuse another ROM's folder
  }
  return result;
}
