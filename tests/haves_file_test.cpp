// The haves file byte for byte: marking, appending, repairing and resetting.
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

// One appender for all entries, as a scan holds it, or one per entry: each entry is in the file
// as soon as it is appended.
TEST_F(HavesFileTest, AppendWritesEightBytesAndRepairsATornTail) {
  for (const char* crc : {"ABCDEF01", "1234", "0123456789"}) AddRom({crc, 0, "n", "", "Roms"});
  const std::string entries[] = {"ABCDEF01", std::string("1234\0\0\0\0", 8), "01234567"};
  for (bool held : {false, true}) {
    WriteFile(HavesPath(), "aaaaaaaabbbb");  // an earlier append cut short
    HaveAppender scan;
    std::string expected = "aaaaaaaa";
    for (int i : {0, 1, 2}) {
      held ? scan.Append(i) : HaveAppender().Append(i);
      EXPECT_EQ(expected += entries[i], ReadFile(HavesPath())) << held << i;
    }
  }
}

// While a scan holds the file, another copy of the program appends after its entries and before
// its next one, and a user can rename or delete it (under Windows too): the rest of the scan's
// entries follow the renamed file, and a deleted one goes when the scan ends.
TEST_F(HavesFileTest, AHeldFileStaysOpenToOthers) {
  for (const char* crc : {"aaaaaaaa", "bbbbbbbb"}) AddRom({crc, 0, "n", "", "Roms"});
  const std::string haves = SystemPath(kHavesFileName), renamed = SystemPath("renamed.db");
  // What the other does while the scan holds the file; then the haves file and the renamed one.
  const std::tuple<char, std::string, std::string> rows[] = {
      {'a', "aaaaaaaaddddddddbbbbbbbb", ""}, {'r', "", "aaaaaaaabbbbbbbb"}, {'d', "", ""}};
  for (const auto& [act, left, moved] : rows) {
    RemovePath(haves.c_str()), RemovePath(renamed.c_str());
    {
      HaveAppender scan;
      scan.Append(0);
      FILE* other = act == 'a' ? OpenFile(haves.c_str(), "a+b") : nullptr;
      if (other != nullptr) fputs("dddddddd", other), CloseFile(other);
      bool done = act == 'a' || (act == 'r' ? ReplacePath(haves.c_str(), renamed.c_str())
                                            : RemovePath(haves.c_str()));
      EXPECT_TRUE(done) << act;
      scan.Append(1);
    }
    EXPECT_EQ(left, ReadFile(HavesPath())) << act;
    EXPECT_EQ(moved, ReadFile(NativePath("renamed.db"))) << act;
  }
}

// SaveLists, once enabled by an owned ROM, stays enabled through the reset's refresh.
TEST_F(HavesFileTest, ResetClearsFlagsRemovesFileAndRefreshes) {
  AddRom({"aaaaaaaa", 0, "a", "", "Roms"}, 1);
  AddRom({"bbbbbbbb", 0, "b", "", "Beta"}, 1);
  WriteFile(HavesPath(), "aaaaaaaabbbbbbbb");
  RefreshRomList();
  ResetHaves();
  EXPECT_EQ((std::vector<int>{0, 0}), Owned());
  EXPECT_FALSE(FileExists(HavesPath()));
  EXPECT_EQ("1 (2)", window_.text(IDC_KNOWN_COUNTER));
  EXPECT_TRUE(window_.enabled(IDC_SAVE_LISTS));
  ResetHaves();  // no file: nothing else happens
  EXPECT_TRUE(window_.messages().empty());
}
