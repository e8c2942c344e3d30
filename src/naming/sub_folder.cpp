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

// The region words of today's names; a bracketed tag made only of these, joined by ", ", is
// the name's region tag. Language tags ("(En,Fr,De)"), versions and the like hold others.
static const char* const kRegionWords[] = {
    "World",     "USA",           "Europe",       "Japan",          "China",
    "Spain",     "France",        "Germany",      "Italy",          "Asia",
    "Australia", "Austria",       "Belgium",      "Brazil",         "Canada",
    "Croatia",   "Czech",         "Denmark",      "Finland",        "Greece",
    "Hong Kong", "Hungary",       "India",        "Ireland",        "Israel",
    "Korea",     "Latin America", "Mexico",       "Netherlands",    "New Zealand",
    "Norway",    "Poland",        "Portugal",     "Russia",         "Scandinavia",
    "Singapore", "Slovakia",      "South Africa", "Sweden",         "Switzerland",
    "Taiwan",    "Turkey",        "UK",           "United Kingdom", "Unknown"};
// A region tag's first word of these names the folder; the first in this order wins.
static const char* const kPreferredRegions[] = {"USA",   "Europe", "Japan",   "China",
                                                "Spain", "France", "Germany", "Italy"};

static bool IsRegionWord(const char* word, size_t length) {
  for (const char* region : kRegionWords)
    if (strlen(region) == length && memcmp(region, word, length) == 0) return true;
  return false;
}

// Whether the text between "(" and ")" lists only region words separated by ", ".
static bool IsRegionTag(const char* tag, size_t length) {
  size_t start = 0;
  for (size_t i = 0; i <= length; ++i) {
    if (i < length && tag[i] != ',') continue;
    if (!IsRegionWord(tag + start, i - start)) return false;
    if (i == length) return true;
    if (i + 1 >= length || tag[i + 1] != ' ') return false;
    start = i + 2;
    ++i;
  }
  return false;
}

void RegionOfName(const char* name, char (&folder)[1024]) {
  CopyText(folder, "UNKNOWN");
  for (const char* open = strchr(name, '('); open != nullptr; open = strchr(open + 1, '(')) {
    const char* close = strchr(open, ')');
    if (close == nullptr) return;
    const char* tag = open + 1;
    size_t length = static_cast<size_t>(close - tag);
    if (!IsRegionTag(tag, length)) continue;
    for (const char* region : kPreferredRegions) {
      for (size_t start = 0, end = 0; start < length; start = end + 2) {
        for (end = start; end < length && tag[end] != ','; ++end) {
        }
        if (end - start == strlen(region) && memcmp(tag + start, region, end - start) == 0) {
          CopyText(folder, region);
          return;
        }
      }
    }
    Format(folder, "%.*s", static_cast<int>(strcspn(tag, ",)")), tag);
    return;
  }
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
      if (g_name_tags == NameTags::kRegions)
        RegionOfName(rom.name, result.text);
      else
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
