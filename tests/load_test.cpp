// The Load command as the window shows it: controls, list, counters, messages and titles.
#include "app/load.h"

#include <chrono>
#include <thread>

#include "app/controls.h"
#include "app/list_commands.h"
#include "database/dat_file.h"
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
    // The first title outlasts the 30 ms, so the record parsed next must be named.
    if (seen.size() == 1) std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  std::vector<std::pair<std::string, int>> seen;
};

const std::string kDat = "[QVXDAT]\n[COMMENT]\n[ROMS]\n";

}  // namespace

class LoadTest : public CoreTest {
 protected:
  // The database's first entry is the dat; a second one that is none must not be read.
  int Load(const std::string& rom_lines) {
    WriteZip(NativePath("db.zip"), {{"db.dat", kDat + rom_lines}, {"b.dat", "x"}});
    return LoadDatabase(SystemPath("db.zip").c_str());
  }
  // What the window shows: whether Scan and SaveLists are enabled as "1" and "0" (the whole set
  // is the end-to-end tests'), the known counter, the title, and each row after a "|".
  std::string Shown() {
    std::string shown = std::to_string(window_.enabled(IDC_SCAN)) +
                        std::to_string(window_.enabled(IDC_SAVE_LISTS)) + " " +
                        window_.text(IDC_KNOWN_COUNTER) + " " + window_.title();
    for (const std::string& row : window_.rows()) shown += "|" + row;
    return shown;
  }
};

TEST_F(LoadTest, AFailureEmptiesTheTableAndDisablesTheCommands) {
  const std::string dat = kDat + "aa:1:A:1:Roms\n";
  const unsigned long crc = std::stoul(CrcKey(dat), nullptr, 16);
  WriteFile(NativePath("nozip.zip"), "PK\3\4 this is no zip");
  WriteZip(NativePath("empty.zip"), {});
  WriteLyingZip(NativePath("crc.zip"), dat, crc ^ 1, dat.size());
  WriteLyingZip(NativePath("short.zip"), dat, crc, dat.size() + 100);
  WriteLyingZip(NativePath("big.zip"), dat, crc, kMaxDatSize + 1);
  // Where uLong has 32 bits, this claim cut to its low bits would be the true size.
  WriteLyingZip(NativePath("4g.zip"), dat, crc, (1ull << 32) + dat.size());
  WriteZip(NativePath("bad.zip"), {{"db.dat", "[QVXDAT] \n[COMMENT]\n[ROMS]\naa:1\n"}});
  const char *unreadable = "Unable To Load Dat File!",
             *too_large = "Unable To Allocate Enuff Memory To Decompress Dat!";
  const char* rows[][2] = {{"missing.zip", unreadable}, {"nozip.zip", unreadable},
                           {"empty.zip", unreadable},   {"crc.zip", unreadable},
                           {"short.zip", unreadable},   {"big.zip", too_large},
                           {"4g.zip", too_large},       {"bad.zip", "Invalid Dat File!"}};
  for (const auto& [file, message] : rows) {
    ASSERT_EQ(1, Load("aa:1:A:1:Roms\n"));
    window_.SetTitle("before");
    window_.ClearRecord();
    EXPECT_EQ(0, LoadDatabase(SystemPath(file).c_str())) << file;
    ASSERT_EQ(1u, window_.messages().size()) << file;
    EXPECT_EQ(message + std::string(" / Database Error"),
              window_.messages()[0].text + " / " + window_.messages()[0].caption);
    EXPECT_EQ("00 0 (0) before", Shown()) << file;
  }
  ASSERT_EQ(1, Load("aa:1:A:1:Roms\n"));  // nothing owned: SaveLists is disabled again
  EXPECT_EQ("10 1 (1) Tarnwick GBA v0.3a|A", Shown());
}

// The first record is named at once, then only ever the record just parsed; a full table,
// each line far under 30 ms, names fewer records than it reads. The idle title ends it. Lines
// beyond the table are neither kept nor named.
TEST_F(LoadTest, LoadingTitlesNameTheRecordJustParsed) {
  g_settings.CRC = 1;  // names as the naming options make them
  std::string full;
  for (int i = 0; i < 8097; ++i) full += "c" + std::to_string(i) + ":1:G:1:Roms\n";
  for (const std::string& lines : {std::string("aa:1:First:1:Roms\nbb:1:Last:2:Roms\n"), full}) {
    TitleWatcher watcher;
    SetMainWindow(&watcher);
    ASSERT_EQ(1, Load(lines));
    SetMainWindow(&window_);
    const auto& seen = watcher.seen;
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(1, seen.front().second) << "the first line names itself";
    for (size_t i = 0; i + 1 < seen.size(); ++i) {
      EXPECT_EQ("Tarnwick GBA v0.3a - Loading Dat - " +
                    std::string(BuildDisplayName(seen[i].second - 1).text),
                seen[i].first);
      EXPECT_GT(seen[i].second, i > 0 ? seen[i - 1].second : 0) << "title " << i;
    }
    EXPECT_EQ(std::make_pair(std::string("Tarnwick GBA v0.3a"), rom_count), seen.back());
    EXPECT_LE(seen.size(), lines == full ? 4048u : 3u);
  }
  // The table holds 8096 records, every one listed; the 8097th line is not loaded.
  RefreshRomList();
  EXPECT_EQ("8096 (8096) 8096 G (c8095)", window_.text(IDC_KNOWN_COUNTER) + " " +
                                              std::to_string(window_.rows().size()) + " " +
                                              window_.rows().back());
}
