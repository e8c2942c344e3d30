// The saved have and miss lists: headers, lines, their order, and every failure SaveLists shows.
#include "reports/have_miss_lists.h"

#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "app/list_commands.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

class HaveMissListsTest : public CoreTest {
 protected:
  std::string Have() { return ReadTextFile(NativePath(kHaveListName)); }
  std::string Miss() { return ReadTextFile(NativePath(kMissListName)); }
  // Every message shown since the last call, as "text / caption".
  std::string Shown() {
    std::string shown;
    for (const auto& message : window_.messages()) shown += message.text + " / " + message.caption;
    window_.ClearRecord();
    return shown;
  }
};

TEST_F(HaveMissListsTest, WritesSortedListsByteForByte) {
  AddRom({"00000001", 0, "Zeta (E)", "3", "Roms", "", "Zf", ""}, 1);
  AddRom({"00000002", 0, "alpha (U)", "20", "Roms", "", "Af", ""}, 0);
  AddRom({"00000003", 0, "Beta Dump", "1", "Beta", "", "Bf", ""}, 1);  // excluded, but owned
  AddRom({"00000004", 0, "Gamma", "4", "Beta", "", "Gf", ""}, 0);      // excluded, missing
  AddRom({"00000005", 0, "_under", "5", "Roms", "", "Uf", ""}, 0);
  WriteFile(NativePath(kHaveListName), std::string(500, 'x'));  // an older, longer list
  ASSERT_EQ(1, SaveLists());
  EXPECT_EQ("Saved Logs! / Save", Shown());
  const std::string kOf = " known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) Roms\n\n";
  EXPECT_EQ(" You have 2 of 4" + kOf + "Beta Dump\nZeta (E)\n", Have());
  EXPECT_EQ(" You are missing 2 of 4" + kOf + "_under\nalpha (U)\n", Miss());
  EXPECT_STREQ("_under", g_roms[0].name);  // the table itself is left in that order
  EXPECT_EQ(1, g_roms[4].have);            // records move whole
  // With NUM the key is the number, as text ("20" < "3"); friendly names keep that key.
  g_settings.NUM = 1;
  g_settings.NAME = 1;
  ASSERT_EQ(1, SaveLists());
  EXPECT_EQ(" You are missing 2 of 4" + kOf + "20Af\n5Uf\n", Miss());
}

TEST_F(HaveMissListsTest, FailuresAreShownNotPassedOffAsSaved) {
  AddRom({"00000002", 0, "b", "", "Roms"}, 1);
  AddRom({"00000001", 0, "a", "", "Roms"});
  const std::tuple<const char*, bool, const char*> rows[] = {
      {kHaveListName, false, "Unable To Open Have List!"},
      {kMissListName, false, "Unable To Open Miss List!"},
      {kHaveListName, true, "Unable To Write Have List!"},
      {kMissListName, true, "Unable To Write Miss List!"}};
  for (const auto& [name, full_disk, message] : rows) {
    std::filesystem::remove_all(NativePath(kHaveListName));
    std::filesystem::remove_all(NativePath(kMissListName));
#ifdef _WIN32
    if (full_disk) continue;  // stood in for by a link to /dev/full, which Windows lacks
#else
    if (full_disk) {
      ASSERT_EQ(0, symlink("/dev/full", NativePath(name).c_str()));
    }
#endif
    if (!full_disk) std::filesystem::create_directory(NativePath(name));  // cannot be opened
    EXPECT_EQ(0, SaveLists());
    EXPECT_EQ(message + std::string(" / Save Error"), Shown());
    EXPECT_STREQ(full_disk ? "a" : "b", g_roms[0].name) << "sorted only once both lists opened";
  }
}
