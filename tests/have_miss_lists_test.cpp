// The saved have and miss lists: headers, lines, the exchange sort's order, and failures.
#include "app/list_commands.h"
#include "reports/have_miss_lists.h"
#include "reports/list_order.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "base/text.h"
#include "database/rom_table.h"
#include "support/core_test.h"
#include "settings/settings.h"

class HaveMissListsTest : public CoreTest {
 protected:
  std::string Have() { return ReadTextFile(NativePath(kHaveListName)); }
  std::string Miss() { return ReadTextFile(NativePath(kMissListName)); }
  void ExpectOneMessage(const char* text, const char* caption) {
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ(text, window_.messages()[0].text);
    EXPECT_EQ(caption, window_.messages()[0].caption);
    window_.ClearRecord();
  }
};

TEST_F(HaveMissListsTest, WritesSortedListsByteForByte) {
  AddRom({"00000001", 0, "Zeta (E)", "003", "Roms", "", "", ""}, 1);
  AddRom({"00000002", 0, "alpha (U)", "002", "Roms", "", "", ""}, 0);
  AddRom({"00000003", 0, "Beta Dump", "001", "Beta", "", "", ""}, 1);  // excluded, but had
  AddRom({"00000004", 0, "Gamma", "004", "Beta", "", "", ""}, 0);      // excluded, missing
  AddRom({"00000005", 0, "_under", "005", "Roms", "", "", ""}, 0);
  ASSERT_EQ(1, SaveLists());
  ExpectOneMessage("Saved Logs!", "Save");
  EXPECT_EQ(
      " You have 2 of 4 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) Roms\n\n"
      "Beta Dump\nZeta (E)\n",
      Have());
  EXPECT_EQ(
      " You are missing 2 of 4 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) "
      "Roms\n\n_under\nalpha (U)\n",
      Miss());
  // The table itself is now in that order.
  EXPECT_STREQ("_under", g_roms[0].name);
  EXPECT_STREQ("Zeta (E)", g_roms[4].name);
  EXPECT_EQ(1, g_roms[4].have);  // records move whole
}

TEST_F(HaveMissListsTest, KeyIsNumberTextWithNumOtherwiseTheName) {
  AddRom({"00000001", 0, "Bbb", "9", "Roms", "", "Zzz", ""}, 0);
  AddRom({"00000002", 0, "Aaa", "10", "Roms", "", "Yyy", ""}, 0);
  g_settings.NAME = 1;  // lines show friendly names, but the key stays the normal name
  ASSERT_EQ(1, SaveLists());
  EXPECT_NE(std::string::npos, Miss().find("\n\nYyy\nZzz\n"));
  g_settings.NUM = 1;
  ASSERT_EQ(1, SaveLists());
  EXPECT_NE(std::string::npos, Miss().find("\n\n10Yyy\n9Zzz\n"));  // text order: "10" < "9"
}

TEST_F(HaveMissListsTest, EmptyTableGivesHeadersOnly) {
  ASSERT_EQ(1, SaveLists());
  EXPECT_EQ(
      " You have 0 of 0 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) Roms\n\n",
      Have());
  EXPECT_EQ(
      " You are missing 0 of 0 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) "
      "Roms\n\n",
      Miss());
}

// The order an exchange sort that swaps whole records gives, computed the slow way.
static std::vector<RomRecord> ExchangeSorted(std::vector<RomRecord> roms, bool by_number) {
  auto key = [&](const RomRecord& r) { return by_number ? r.number : r.name; };
  for (size_t p = 0; p + 1 < roms.size(); ++p)
    for (size_t q = p + 1; q < roms.size(); ++q)
      if (CompareFolded(key(roms[p]), key(roms[q])) > 0) std::swap(roms[p], roms[q]);
  return roms;
}

TEST_F(HaveMissListsTest, SortMatchesTheExchangeSortIncludingEqualKeys) {
  // Few distinct keys differing only in case, so equal keys meet often; bytes above 127 and
  // "_" and "~" around the letters, so the folding and the unsigned order both count.
  const char* names[] = {"b", "B", "a", "A", "c", "_", "ab", "AB", "\xe9t\xe9", "~", "Z", ""};
  constexpr int kNames = sizeof names / sizeof names[0];
  struct Table {
    const char* what;
    int size;
    bool descending;  // keys in reverse order, a twin in other case after each
  } tables[] = {{"shuffled", 400, false}, {"reversed", 600, true}};
  for (const Table& table : tables) {
    ClearRomTable();
    unsigned seed = 12345;
    for (int i = 0; i < table.size; ++i) {
      seed = seed * 1103515245u + 12345u;
      char crc[16], name[32], number[32];
      snprintf(crc, sizeof(crc), "%08x", i);
      if (table.descending) {
        int step = table.size - 1 - i;
        snprintf(name, sizeof(name), "%s%04d", (i & 1) ? "Game " : "game ", step / 2);
        snprintf(number, sizeof(number), "%d", step / 3);
      } else {
        snprintf(name, sizeof(name), "%s", names[(seed >> 16) % kNames]);
        snprintf(number, sizeof(number), "%s", names[(seed >> 8) % kNames]);
      }
      AddRom({crc, i, name, number, "Roms", "", "", ""}, static_cast<int>(seed >> 30) & 1);
    }
    for (bool by_number : {false, true}) {
      SCOPED_TRACE(std::string(table.what) + (by_number ? ", by number" : ", by name"));
      g_settings.NUM = by_number;
      std::vector<RomRecord> expected =
          ExchangeSorted(std::vector<RomRecord>(g_roms, g_roms + rom_count), by_number);
      SortRomTable();
      for (int i = 0; i < rom_count; ++i)
        ASSERT_EQ(0, memcmp(&expected[i], &g_roms[i], sizeof(RomRecord))) << "position " << i;
    }
  }
}

TEST_F(HaveMissListsTest, SecondRunWritesTheSameFiles) {
  AddRom({"00000001", 0, "b", "2", "Roms", "", "", ""}, 1);
  AddRom({"00000002", 0, "a", "1", "Roms", "", "", ""}, 0);
  ASSERT_EQ(1, SaveLists());
  std::string have = Have(), miss = Miss();
  ASSERT_EQ(1, SaveLists());
  EXPECT_EQ(have, Have());
  EXPECT_EQ(miss, Miss());
}

TEST_F(HaveMissListsTest, OpenFailuresLeaveTheTableUnsorted) {
  AddRom({"00000001", 0, "b", "", "Roms"});
  AddRom({"00000002", 0, "a", "", "Roms"});
  std::filesystem::create_directory(NativePath(kHaveListName));
  EXPECT_EQ(0, SaveLists());
  ExpectOneMessage("Unable To Open Have List!", "Save Error");
  std::filesystem::remove(NativePath(kHaveListName));
  std::filesystem::create_directory(NativePath(kMissListName));
  EXPECT_EQ(0, SaveLists());
  ExpectOneMessage("Unable To Open Miss List!", "Save Error");
  EXPECT_EQ("", Have());  // opened, then closed empty
  EXPECT_STREQ("b", g_roms[0].name);
}

TEST_F(HaveMissListsTest, WriteFailuresAreReportedNotPassedOffAsSaved) {
#ifdef _WIN32
  GTEST_SKIP() << "a full disk is stood in for by a link to /dev/full, which Windows lacks";
#else
  if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  AddRom({"00000001", 0, "b", "", "Roms", "", "", ""}, 1);
  for (const char* name : {kHaveListName, kMissListName}) {
    SCOPED_TRACE(name);
    std::filesystem::remove(NativePath(kHaveListName));
    std::filesystem::remove(NativePath(kMissListName));
    // A full disk: every byte written to this list fails.
    ASSERT_EQ(0, symlink("/dev/full", NativePath(name).c_str()));
    EXPECT_EQ(0, SaveLists());
    ExpectOneMessage(
        name == kHaveListName ? "Unable To Write Have List!" : "Unable To Write Miss List!",
        "Save Error");
  }
#endif
}
