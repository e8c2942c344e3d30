// The haves file byte for byte: marking, appending, repairing and resetting.
#include "database/haves_file.h"

#include "app/list_commands.h"

#include <sys/stat.h>

#include "database/rom_table.h"
#include "support/core_test.h"
#include "app/controls.h"
#include "platform/program_dir.h"

class HavesFileTest : public CoreTest {
 protected:
  std::string HavesPath() { return NativePath(kHavesFileName); }
  std::vector<int> Owned() {
    std::vector<int> owned;
    for (int i = 0; i < rom_count; ++i) owned.push_back(g_roms[i].have);
    return owned;
  }
};

TEST_F(HavesFileTest, MarkHavesMatchesCaseInsensitivelyAndMarksEveryMatch) {
  AddRom({"0a1b2c3d", 0, "lower", "", "Roms"});
  AddRom({"FFEE0011", 0, "upper", "", "Roms"});
  AddRom({"0A1B2C3D", 0, "twin", "", "Roms"});
  AddRom({"12345678", 0, "other", "", "Roms"});
  AddRom({"0a1b2c3", 0, "short", "", "Roms"});
  // Upper-case entry for a lower-case crc, lower-case for upper, one unknown, 4 stray bytes.
  WriteFile(HavesPath(), std::string("0A1B2C3Dffee0011deadbeef") + "1234");
  MarkHaves();
  EXPECT_EQ((std::vector<int>{1, 1, 1, 0, 0}), Owned());
  EXPECT_EQ(28u, ReadFile(HavesPath()).size());  // reading never writes
}

TEST_F(HavesFileTest, MissingOrReadOnlyFileMarksNothing) {
  AddRom({"0a1b2c3d", 0, "game", "", "Roms"});
  MarkHaves();
  EXPECT_EQ((std::vector<int>{0}), Owned());
#ifndef _WIN32           // permission bits and geteuid are POSIX
  if (geteuid() != 0) {  // root may open a read-only file for writing anyway
    WriteFile(HavesPath(), "0a1b2c3d");
    chmod(HavesPath().c_str(), 0444);
    MarkHaves();
    EXPECT_EQ((std::vector<int>{0}), Owned());
  }
#endif
  EXPECT_TRUE(window_.messages().empty());
}

TEST_F(HavesFileTest, AppendWritesTheCrcFieldAsItStands) {
  AddRom({"ABCDEF01", 0, "upper", "", "Roms"});
  AddRom({"1234", 0, "short crc", "", "Roms"});
  AddRom({"0123456789", 0, "long crc", "", "Roms"});
  AppendHave(0);
  AppendHave(1);
  AppendHave(2);
  EXPECT_EQ(std::string("ABCDEF01") + std::string("1234\0\0\0\0", 8) + "01234567",
            ReadFile(HavesPath()));
}

TEST_F(HavesFileTest, AppendRepairsATornTail) {
  AddRom({"aaaaaaaa", 0, "a", "", "Roms"});
  AddRom({"bbbbbbbb", 0, "b", "", "Roms"});
  WriteFile(HavesPath(), "aaaaaaaabbbb");  // an earlier append cut short
  AppendHave(1);
  EXPECT_EQ("aaaaaaaabbbbbbbb", ReadFile(HavesPath()));
  MarkHaves();
  EXPECT_EQ((std::vector<int>{1, 1}), Owned());
}

TEST_F(HavesFileTest, AppendIntoAFolderItCannotWriteIsSilent) {
  AddRom({"aaaaaaaa", 0, "a", "", "Roms"});
  SetProgramDirectory("\\nonexistent-folder-for-tarnwick\\x.exe");
  AppendHave(0);
  EXPECT_TRUE(window_.messages().empty());
}

TEST_F(HavesFileTest, ResetClearsFlagsRemovesFileAndRefreshes) {
  AddRom({"aaaaaaaa", 0, "a", "", "Roms", "", "", ""}, 1);
  AddRom({"bbbbbbbb", 0, "b", "", "Beta", "", "", ""}, 1);
  WriteFile(HavesPath(), "aaaaaaaabbbbbbbb");
  ResetHaves();
  EXPECT_EQ((std::vector<int>{0, 0}), Owned());
  EXPECT_FALSE(FileExists(HavesPath()));
  EXPECT_EQ("0", window_.text(IDC_HAVE_COUNTER));
  EXPECT_EQ("1 (2)", window_.text(IDC_KNOWN_COUNTER));
  ResetHaves();  // no file: nothing else happens
  EXPECT_TRUE(window_.messages().empty());
  MarkHaves();
  EXPECT_EQ((std::vector<int>{0, 0}), Owned());
}
