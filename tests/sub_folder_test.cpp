// Sub-folder names by category, country, size, extra text and group.
#include "naming/sub_folder.h"

#include "database/rom_table.h"
#include "support/core_test.h"
#include "settings/settings.h"

TEST(CountryOfName, TagsInTheirOrder) {
  struct Row {
    const char* name;
    const char* country;
  } rows[] = {
      {"Game (U)", "USA"},       {"Game (E)", "Europe"},
      {"Game (X)", "Europe"},    {"Game (Y)", "Europe"},
      {"Game (J)", "Japan"},     {"Game (Ch)", "China"},
      {"Game (S)", "Spain"},     {"Game (F)", "France"},
      {"Game (G)", "Germany"},   {"Game (I)", "Italy"},
      {"Game (E) (U)", "USA"},   {"Game (J) (E)", "Europe"},
      {"Game (F) (S)", "Spain"}, {"Game (Europe)", "UNKNOWN"},
      {"Game (u)", "UNKNOWN"},   {"Game (K)", "UNKNOWN"},
      {"", "UNKNOWN"},
  };
  for (const Row& r : rows) EXPECT_STREQ(r.country, CountryOfName(r.name)) << r.name;
}

class SubFolderTest : public CoreTest {};

TEST_F(SubFolderTest, ByType) {
  int rom = AddRom({"1a2b3c4d", 4194304, "Game (U) (E)", "0007", "Beta", "Grp", "F", "S"});
  int small = AddRom({"1a2b3c4e", 131071, "Game", "0008", "", "", "", ""});
  strcpy(g_roms[rom].extra_text, "ignored");  // the loader never fills it, but TYPE 3 reads it
  struct Row {
    int type, index;
    const char* folder;
  } rows[] = {
      {0, rom, "Beta"}, {1, rom, "USA"}, {2, rom, "32mbit"},  {3, rom, "ignored"},
      {4, rom, "Grp"},  {0, small, ""},  {2, small, "0mbit"}, {3, small, ""},
      {5, rom, ""},     {9, rom, ""},    {-1, rom, ""},
  };
  for (const Row& r : rows) {
    g_settings.TYPE = r.type;
    EXPECT_STREQ(r.folder, BuildSubFolderName(r.index).text) << "TYPE " << r.type;
  }
}
