// The haves file byte for byte: marking, and appending while others use the file.
#include "database/haves_file.h"

#include <tuple>

#include "app/controls.h"
#include "app/list_commands.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "support/core_test.h"

class HavesFileTest : public CoreTest {
 protected:
  std::string HavesPath() { return NativePath(kHavesFileName); }
  std::vector<int> Owned() {
    std::vector<int> owned;
    for (int i = 0; i < rom_count; ++i) owned.push_back(g_roms[i].have);
    return owned;
  }
};

TEST_F(HavesFileTest, MarkHavesMatchesWholeEntriesInAnyCase) {
  for (const char* crc : {"0a1b2c3d", "FFEE0011", "0A1B2C3D", "12345678", "0a1b2c3"})
    AddRom({crc, 0, "n", "", "Roms"});
  MarkHaves();  // no file yet
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), Owned());
  // Upper case for lower, lower for upper, an unknown entry, and a torn 4-byte tail.
  WriteFile(HavesPath(), "0A1B2C3Dffee0011deadbeef1234");
  MarkHaves();
  EXPECT_EQ((std::vector<int>{1, 1, 1, 0, 0}), Owned());
  EXPECT_EQ(28u, ReadFile(HavesPath()).size());  // reading never writes
}

// Each entry is in the file as soon as it is appended, after a torn tail is cut back. While a
// scan holds the file, another copy of the program appends between its entries, and a user can
// rename or delete it (under Windows too): the rest of the entries follow the renamed file, and
// a deleted one goes when the scan ends. Outside a scan, one appender per entry does the same.
TEST_F(HavesFileTest, EntriesLandAtOnceInAFileOthersMayUse) {
  for (const char* crc : {"ABCDEF01", "1234", "0123456789"}) AddRom({crc, 0, "n", "", "Roms"});
  const std::string haves = SystemPath(kHavesFileName), renamed = SystemPath("renamed.db");
  const std::string first = "aaaaaaaaABCDEF01", second("1234\0\0\0\0", 8);
  // What happens between the two entries; then the haves file and the renamed one.
  const std::tuple<char, std::string, std::string> rows[] = {{'-', first + second, ""},
                                                             {'a', first + "dddddddd" + second, ""},
                                                             {'r', "", first + second},
                                                             {'d', "", ""}};
  for (const auto& [act, left, moved] : rows) {
    RemovePath(renamed.c_str());
    WriteFile(HavesPath(), "aaaaaaaabbbb");  // an earlier append cut short
    {
      HaveAppender scan;
      scan.Append(0);
      EXPECT_EQ(first, ReadFile(HavesPath())) << act;
      FILE* other = act == 'a' ? OpenFile(haves.c_str(), "a+b") : nullptr;
      if (other != nullptr) fputs("dddddddd", other), CloseFile(other);
      bool done =
          act == '-' || act == 'a' ||
          (act == 'r' ? ReplacePath(haves.c_str(), renamed.c_str()) : RemovePath(haves.c_str()));
      EXPECT_TRUE(done) << act;
      scan.Append(1);
      EXPECT_TRUE(act == 'd' || left == ReadFile(HavesPath())) << act;
    }
    EXPECT_EQ(left, ReadFile(HavesPath())) << act;
    EXPECT_EQ(moved, ReadFile(NativePath("renamed.db"))) << act;
  }
  WriteFile(HavesPath(), "aaaaaaaabbbb");
  for (int i : {0, 1, 2}) HaveAppender().Append(i);
  EXPECT_EQ(first + second + "01234567", ReadFile(HavesPath()));
}
