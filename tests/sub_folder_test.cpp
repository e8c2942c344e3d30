// Sub-folder names by category, country, size, extra text and group.
#include "naming/sub_folder.h"

#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

class SubFolderTest : public CoreTest {};

TEST_F(SubFolderTest, ByTypeAndTheFirstCountryTagInTableOrder) {
  int rom = AddRom({"1a2b3c4d", 4194304, "Game (U) (E)", "0007", "Beta", "Grp", "F", "S"});
  int bare = AddRom({"1a2b3c4e", 131071, "Game", "0008", "", "", "", ""});
  strcpy(g_roms[rom].extra_text, "extra");  // the loader never fills it, but TYPE 3 reads it
  const std::tuple<int, int, const char*> rows[] = {
      {0, rom, "Beta"}, {1, rom, "USA"}, {2, rom, "32mbit"},   {3, rom, "extra"},
      {4, rom, "Grp"},  {0, bare, ""},   {1, bare, "UNKNOWN"}, {2, bare, "0mbit"},
      {5, rom, ""},     {-1, rom, ""}};
  for (const auto& [type, index, folder] : rows) {
    g_settings.TYPE = type;
    EXPECT_STREQ(folder, BuildSubFolderName(index).text) << "TYPE " << type;
  }
  // The country table itself is data; these are the rules of reading it.
  const char* names[][2] = {{"G (E) (U)", "USA"}, {"G (J) (E)", "Europe"}, {"G (F) (S)", "Spain"},
                            {"G (u)", "UNKNOWN"}, {"G (EU)", "UNKNOWN"},   {"", "UNKNOWN"}};
  for (const auto& [name, country] : names) EXPECT_STREQ(country, CountryOfName(name)) << name;
}
