// The Load command as the window shows it: controls, list, counters, messages and titles.
#include "app/load.h"

#include "app/controls.h"
#include "database/dat_parser.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "settings/settings.h"
#include "support/core_test.h"

namespace {

// Every title set, with the number of records parsed at that moment.
class TitleWatcher : public QuietWindow {
 public:
  void SetTitle(const char* title) override {
    int parsed = 0;
    while (parsed < kMaxRoms && g_roms[parsed].crc[0] != '\0') ++parsed;
    seen.push_back({title, parsed});
  }
  std::vector<std::pair<std::string, int>> seen;
};

}  // namespace

class LoadTest : public CoreTest {
 protected:
  int Load(const std::string& rom_lines) {
    WriteZip(NativePath("db.zip"), {{"db.dat", "[QVXDAT]\n[COMMENT]\n[ROMS]\n" + rom_lines}});
    return LoadDatabase(SystemPath("db.zip").c_str());
  }
  // Which commands are enabled, as "1" and "0": Load, the commands of a load, SaveLists.
  std::string Commands() {
    std::string enabled;
    for (int id : {IDC_LOAD, IDC_RENAME, IDC_SCAN, IDC_MOVE, IDC_PICK_SOURCE, IDC_PICK_DEST,
                   IDC_SHOW_ALL, IDC_SHOW_HAVE, IDC_SHOW_MISS, IDC_RESET_HAVES, IDC_INCLUDE_OPTIONS,
                   IDC_NAMING_OPTIONS, IDC_RENAMING_OPTIONS, IDC_SAVE_LISTS})
      enabled += window_.enabled(id) ? "1" : "0";
    return enabled;
  }
};

TEST_F(LoadTest, LoadsMarksHavesAndReadiesTheWindow) {
  WriteFile(NativePath(kHavesFileName), "0A1B2C3D");
  window_.Show(IDC_SHOW_MISS);
  ASSERT_EQ(1, Load("0a1b2c3d:1:Some Game (E):1:Roms\n99999999:1:Other (U):2:Beta\n"));
  EXPECT_TRUE(window_.messages().empty());
  ASSERT_EQ(2, rom_count);
  EXPECT_EQ((std::vector<int>{1, 0}), (std::vector<int>{g_roms[0].have, g_roms[1].have}));
  EXPECT_EQ("11111111111111", Commands());  // SaveLists too: a ROM is owned
  EXPECT_TRUE(window_.checked(IDC_SHOW_ALL) && !window_.checked(IDC_SHOW_MISS));
  EXPECT_EQ("Tarnwick GBA v0.3a", window_.title());
  EXPECT_EQ("1 (2)", window_.text(IDC_KNOWN_COUNTER));  // the Beta is excluded
  EXPECT_EQ((std::vector<std::string>{"Some Game (E)"}), window_.rows());
}

TEST_F(LoadTest, AFailureEmptiesTheTableAndDisablesTheCommands) {
  WriteLyingZip(NativePath("big.zip"), "x", 0, kMaxDatSize + 1);
  WriteZip(NativePath("bad.zip"), {{"db.dat", "[QVXDAT] \n[COMMENT]\n[ROMS]\naa:1\n"}});
  const char* rows[][2] = {{"missing.zip", "Unable To Load Dat File!"},
                           {"big.zip", "Unable To Allocate Enuff Memory To Decompress Dat!"},
                           {"bad.zip", "Invalid Dat File!"}};
  for (const auto& [file, message] : rows) {
    ASSERT_EQ(1, Load("aa:1:A:1:Roms\n"));
    window_.SetTitle("before");
    window_.ClearRecord();
    EXPECT_EQ(0, LoadDatabase(SystemPath(file).c_str())) << file;
    ASSERT_EQ(1u, window_.messages().size()) << file;
    EXPECT_EQ(message, window_.messages()[0].text);
    EXPECT_EQ("Database Error", window_.messages()[0].caption);
    EXPECT_EQ(0, rom_count) << file;
    EXPECT_EQ("10000000000000", Commands()) << file;
    EXPECT_EQ("0 (0)", window_.text(IDC_KNOWN_COUNTER)) << file;
    EXPECT_TRUE(window_.rows().empty()) << file;
    EXPECT_EQ("before", window_.title()) << file;
  }
  ASSERT_EQ(1, Load("aa:1:A:1:Roms\n"));  // nothing owned: SaveLists is disabled again
  EXPECT_EQ("11111111111110", Commands());
}

// The first record is named at once, then only ever the record just parsed; a full table,
// each line far under 30 ms, names fewer records than it reads. The idle title ends it.
TEST_F(LoadTest, LoadingTitlesNameTheRecordJustParsed) {
  g_settings.CRC = 1;  // names as the naming options make them
  std::string full;
  for (int i = 0; i < kMaxRoms; ++i) full += "c" + std::to_string(i) + ":1:G:1:Roms\n";
  for (const std::string& lines : {std::string("aa:1:First:1:Roms\nbb:1:Last:2:Roms\n"), full}) {
    TitleWatcher watcher;
    SetMainWindow(&watcher);
    ASSERT_EQ(1, Load(lines));
    SetMainWindow(&window_);
    const auto& seen = watcher.seen;
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(1, seen.front().second) << "the first line names itself";
    for (size_t i = 0; i + 1 < seen.size(); ++i) {
      EXPECT_EQ("Tarnwick GBA v0.3a - Loading Dat - " +
                    std::string(BuildDisplayName(seen[i].second - 1).text),
                seen[i].first);
      EXPECT_GT(seen[i].second, i > 0 ? seen[i - 1].second : 0) << "title " << i;
    }
    EXPECT_EQ(std::make_pair(std::string("Tarnwick GBA v0.3a"), rom_count), seen.back());
    EXPECT_LE(seen.size(), lines == full ? static_cast<size_t>(kMaxRoms / 2) : 3u);
  }
  EXPECT_EQ(kMaxRoms, rom_count);
}
