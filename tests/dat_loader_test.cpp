// Loading a database zip: dat parsing, every failure, and what the window shows after.
#include "app/load.h"
#include "database/dat_parser.h"

#include <unistd.h>
#include <zlib.h>

#include <filesystem>

#include "database/haves_file.h"
#include "database/rom_table.h"
#include "support/core_test.h"
#include "naming/display_name.h"
#include "settings/settings.h"
#include "app/controls.h"

namespace {

const char kUnableToLoad[] = "Unable To Load Dat File!";
const char kInvalidDat[] = "Invalid Dat File!";
const char kUnableToAllocate[] = "Unable To Allocate Enuff Memory To Decompress Dat!";

const int kCommandsOfALoad[] = {
    IDC_RENAME,     IDC_SCAN,           IDC_MOVE,          IDC_PICK_SOURCE,
    IDC_PICK_DEST,   IDC_SHOW_ALL,        IDC_SHOW_HAVE,      IDC_SHOW_MISS,
    IDC_RESET_HAVES, IDC_INCLUDE_OPTIONS, IDC_NAMING_OPTIONS, IDC_RENAMING_OPTIONS,
};

std::string Dat(const std::string& rom_lines) {
  return "[QVXDAT]\nversion=1\n[COMMENT]\nmade by the tests\n[ROMS]\n" + rom_lines + "[END]\n";
}

}  // namespace

class DatLoaderTest : public CoreTest {
 protected:
  // Writes a database holding dat as its only entry and loads it.
  int LoadDat(const std::string& dat, bool deflate = true) {
    WriteZip(NativePath("db.zip"), {{"db.dat", dat, deflate}});
    return LoadDatabase(SystemPath("db.zip").c_str());
  }
  // One message, an empty table, the commands disabled, the title as it was.
  void ExpectFailure(const char* message) {
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ(message, window_.messages()[0].text);
    EXPECT_EQ("Database Error", window_.messages()[0].caption);
    EXPECT_EQ(0, rom_count);
    EXPECT_EQ(0, g_roms[0].crc[0]);
    for (int id : kCommandsOfALoad) EXPECT_FALSE(window_.enabled(id)) << id;
    EXPECT_FALSE(window_.enabled(IDC_SAVE_LISTS));
    EXPECT_TRUE(window_.enabled(IDC_LOAD));
    EXPECT_TRUE(window_.checked(IDC_SHOW_ALL));
    EXPECT_EQ("0 (0)", window_.text(IDC_KNOWN_COUNTER));
    EXPECT_TRUE(window_.rows().empty());
    EXPECT_EQ("before", window_.title());
    window_.ClearRecord();
  }
};

TEST_F(DatLoaderTest, LoadsRecordsAndReadiesTheWindow) {
  WriteFile(NativePath(kHavesFileName), "0A1B2C3D");
  window_.Show(IDC_SHOW_MISS);
  ASSERT_EQ(1, LoadDat(Dat("0a1b2c3d:1048576:Some Game (E):0042:Roms:Grp:Some Game:"
                           "Some_Game_E-GRP\n"
                           "99999999:4194304:Other (U):0043:Beta:G2:Other:Other_U\n")));
  EXPECT_TRUE(window_.messages().empty());
  ASSERT_EQ(2, rom_count);
  const RomRecord& rom = g_roms[0];
  EXPECT_STREQ("0a1b2c3d", rom.crc);
  EXPECT_EQ(1048576, rom.size);
  EXPECT_STREQ("Some Game (E)", rom.name);
  EXPECT_STREQ("0042", rom.number);
  EXPECT_STREQ("Roms", rom.category);
  EXPECT_STREQ("Grp", rom.group);
  EXPECT_STREQ("Some Game", rom.friendly_name);
  EXPECT_STREQ("Some_Game_E-GRP", rom.scene_name);
  EXPECT_STREQ("", rom.extra_text);
  EXPECT_EQ(1, rom.have);  // from the haves file
  EXPECT_EQ(0, g_roms[1].have);
  EXPECT_EQ(0, g_roms[2].crc[0]);
  for (int id : kCommandsOfALoad) EXPECT_TRUE(window_.enabled(id)) << id;
  EXPECT_TRUE(window_.enabled(IDC_SAVE_LISTS));  // a ROM is owned
  EXPECT_TRUE(window_.checked(IDC_SHOW_ALL));
  EXPECT_FALSE(window_.checked(IDC_SHOW_MISS));
  EXPECT_EQ("Tarnwick GBA v0.3a", window_.title());
  EXPECT_EQ("1 (2)", window_.text(IDC_KNOWN_COUNTER));  // the Beta is excluded
  EXPECT_EQ((std::vector<std::string>{"Some Game (E)"}), window_.rows());
}

TEST_F(DatLoaderTest, SaveListsWaitsForAnOwnedRom) {
  window_.EnableControl(IDC_SAVE_LISTS, true);
  ASSERT_EQ(1, LoadDat(Dat("0a1b2c3d:1:A:1:Roms:::\n"), false));
  EXPECT_FALSE(window_.enabled(IDC_SAVE_LISTS));
}

TEST_F(DatLoaderTest, ArchiveFailures) {
  const std::string good = Dat("0a1b2c3d:1:A:1:Roms:::\n");
  const uLong good_crc =
      crc32(0, reinterpret_cast<const Bytef*>(good.data()), static_cast<uInt>(good.size()));
  using Make = std::function<void(const std::string&)>;
  struct Row {
    const char* name;
    Make make;
    const char* message;
  } rows[] = {
      {"missing file", [](auto&) {}, kUnableToLoad},
      {"not a zip", [](auto& p) { WriteFile(p, "PK\3\4 this is no zip"); }, kUnableToLoad},
      {"empty file", [](auto& p) { WriteFile(p, ""); }, kUnableToLoad},
      {"no entries", [](auto& p) { WriteZip(p, {}); }, kUnableToLoad},
      {"crc mismatch", [&](auto& p) { WriteLyingZip(p, good, 0x12345678, good.size()); },
       kUnableToLoad},
      {"claims more than it holds",
       [&](auto& p) { WriteLyingZip(p, good, good_crc, good.size() + 100); }, kUnableToLoad},
      {"claims gigabytes", [&](auto& p) { WriteLyingZip(p, good, 0, 0xFFFFFFF0ul); },
       kUnableToAllocate},
      {"claims one byte over the cap",
       [&](auto& p) { WriteLyingZip(p, good, good_crc, kMaxDatSize + 1); }, kUnableToAllocate},
      // Where uLong has 32 bits, this claim cut to its low bits would be the true size.
      {"claims 4 GiB more than it holds",
       [&](auto& p) { WriteLyingZip(p, good, good_crc, (1ull << 32) + good.size()); },
       kUnableToAllocate},
      {"truncated",
       [&](auto& p) {
         WriteZip(p, {{"db.dat", good}});
         std::string whole = ReadFile(p);
         WriteFile(p, whole.substr(0, whole.size() / 2));
       },
       kUnableToLoad},
      {"read-me first",
       [&](auto& p) {
         WriteZip(p, {{"readme.txt", "Hi\n"}, {"db.dat", good}});
       },
       kInvalidDat},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    r.make(NativePath(std::string(r.name) + ".zip"));
    // Each failure follows a good load: the earlier database is gone afterwards.
    ASSERT_EQ(1, LoadDat(good));
    window_.SetTitle("before");
    EXPECT_EQ(0, LoadDatabase(SystemPath(std::string(r.name) + ".zip").c_str()));
    ExpectFailure(r.message);
  }
  EXPECT_EQ(0, LoadDatabase(""));
  ExpectFailure(kUnableToLoad);
}

TEST_F(DatLoaderTest, NotADat) {
  const char* dats[] = {"[qvxdat]\n[COMMENT]\n[ROMS]\n", "[QVXDAT] \n[COMMENT]\n[ROMS]\n",
                        "\xEF\xBB\xBF[QVXDAT]\n[ROMS]\n", "[QVXDAT]", ""};
  for (const char* dat : dats) {
    SCOPED_TRACE(dat);
    ASSERT_EQ(1, LoadDat(Dat("aa:1:A\n")));
    window_.SetTitle("before");
    EXPECT_EQ(0, LoadDat(dat));
    ExpectFailure(kInvalidDat);
  }
}

TEST_F(DatLoaderTest, SectionRules) {
  struct Row {
    const char* name;
    std::string dat;
    std::vector<std::string> crcs;
  } rows[] = {
      {"CR LF lines",
       "[QVXDAT]\r\n[COMMENT]\r\nx\r\n[ROMS]\r\naa:1\r\nbb:2\r\n[END]\r\ncc\r\n",
       {"aa", "bb"}},
      {"[ROMS] before [COMMENT] is ignored",
       "[QVXDAT]\n[ROMS]\nxx\n[COMMENT]\n[ROMS]\naa\n",
       {"aa"}},
      {"no [COMMENT]", "[QVXDAT]\n[ROMS]\naa\n", {}},
      {"no [ROMS] after [COMMENT]", "[QVXDAT]\n[COMMENT]\naa\n", {}},
      {"no [END]", "[QVXDAT]\n[COMMENT]\n[ROMS]\naa\nbb", {"aa", "bb"}},
      {"[END] without line end is a ROM line",
       "[QVXDAT]\n[COMMENT]\n[ROMS]\naa\n[END]",
       {"aa", "[END]"}},
      {"blank line is a record",
       "[QVXDAT]\n[COMMENT]\n[ROMS]\naa\n\nbb\n[END]\n",
       {"aa", "", "bb"}},
      {"after [END] nothing", "[QVXDAT]\n[COMMENT]\n[ROMS]\n[END]\naa\n", {}},
      {"marker with CR only is no marker",
       "[QVXDAT]\n[COMMENT]\n[ROMS]\naa\n[END]\rbb\n",
       {"aa", "[END]\rbb"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_EQ(1, LoadDat(r.dat));
    std::vector<std::string> crcs;
    for (int i = 0; i < rom_count; ++i) crcs.push_back(g_roms[i].crc);
    EXPECT_EQ(r.crcs, crcs);
    EXPECT_TRUE(window_.messages().empty());
  }
}

TEST_F(DatLoaderTest, FieldSplit) {
  ASSERT_EQ(1, LoadDat(Dat("c1:abc:n1\n"
                           "c2:12abc:n2:4:Roms:G:F:S:extra:more\n"
                           "c3:  -131072:n3\n"
                           "c4:99999999999:n4\n"
                           "c5::::::::\n"
                           "c6:+7\n")));
  ASSERT_EQ(6, rom_count);
  EXPECT_EQ(0, g_roms[0].size);
  EXPECT_STREQ("n1", g_roms[0].name);
  EXPECT_STREQ("", g_roms[0].scene_name);  // missing fields stay empty
  EXPECT_EQ(12, g_roms[1].size);
  EXPECT_STREQ("S", g_roms[1].scene_name);  // the ninth and tenth fields are ignored
  EXPECT_EQ(-131072, g_roms[2].size);
  EXPECT_EQ(INT32_MAX, g_roms[3].size);  // clamped, never overflowed
  EXPECT_STREQ("c5", g_roms[4].crc);
  EXPECT_STREQ("", g_roms[4].name);
  EXPECT_EQ(7, g_roms[5].size);
}

TEST_F(DatLoaderTest, LongFieldsAreCutToTheirWidth) {
  std::string long_text(130, 'x');  // six of them still fit one 1023-character chunk
  std::string line = "c1:1:" + long_text + ":" + long_text + ":" + long_text + ":" + long_text +
                     ":" + long_text + ":" + long_text + "\n";
  ASSERT_EQ(1, LoadDat(Dat(line)));
  ASSERT_EQ(1, rom_count);
  EXPECT_EQ(std::string(127, 'x'), g_roms[0].name);
  EXPECT_EQ(std::string(127, 'x'), g_roms[0].scene_name);
  EXPECT_EQ(std::string(115, 'x'), g_roms[0].group);
  EXPECT_EQ(0, g_roms[0].extra_text[0]);
}

TEST_F(DatLoaderTest, OverlongLineArrivesInPieces) {
  // 1023 characters fill one chunk; the rest of the line is read as a line of its own.
  std::string line = "c1:1:" + std::string(1018, 'n') + "c2:2:tail\n";
  ASSERT_EQ(1, LoadDat(Dat(line)));
  ASSERT_EQ(2, rom_count);
  EXPECT_STREQ("c2", g_roms[1].crc);
  EXPECT_STREQ("tail", g_roms[1].name);
}

TEST_F(DatLoaderTest, LinesBeyondTheTableAreIgnored) {
  std::string lines;
  for (int i = 0; i < kMaxRoms + 50; ++i) lines += std::to_string(i) + ":1:Game:1:Roms:::\n";
  ASSERT_EQ(1, LoadDat(Dat(lines)));
  EXPECT_EQ(kMaxRoms, rom_count);
  EXPECT_STREQ("8095", g_roms[kMaxRoms - 1].crc);
  EXPECT_EQ("8096 (8096)", window_.text(IDC_KNOWN_COUNTER));
}

TEST_F(DatLoaderTest, AHundredThousandLinesFillTheTableAndNoMore) {
  std::string lines;
  for (int i = 0; i < 100000; ++i)
    lines += std::to_string(i) + ":1:Game " + std::to_string(i) + ":1:Roms:::\n";
  ASSERT_EQ(1, LoadDat(Dat(lines)));
  EXPECT_EQ(kMaxRoms, rom_count);
  EXPECT_STREQ("8095", g_roms[kMaxRoms - 1].crc);
  EXPECT_STREQ("Tarnwick GBA v0.3a", window_.title().c_str());
  EXPECT_TRUE(window_.messages().empty());
}

// Every title a load sets, each beside the loading title of the record parsed last at that
// moment: the table is cleared before a load, and every line of these tests has a crc.
class TitleWatcher : public QuietWindow {
 public:
  struct Seen {
    std::string title;
    int parsed;
    std::string expected;
  };
  void SetTitle(const char* title) override {
    int parsed = 0;
    while (parsed < kMaxRoms && g_roms[parsed].crc[0] != '\0') ++parsed;
    std::string expected = parsed == 0 ? ""
                                       : "Tarnwick GBA v0.3a - Loading Dat - " +
                                             std::string(BuildDisplayName(parsed - 1).text);
    seen.push_back({title, parsed, expected});
    QuietWindow::SetTitle(title);
  }
  std::vector<Seen> seen;
};

// The loading title names the first record at once and after that only ever the record just
// parsed, in order; the idle title ends the load. A fast load of many lines names fewer
// records than it reads.
TEST_F(DatLoaderTest, LoadingTitlesNameTheRecordJustParsed) {
  g_settings.CRC = 1;  // the display name as the naming options make it
  std::string full;
  for (int i = 0; i < kMaxRoms + 50; ++i)
    full += "c" + std::to_string(i) + ":1:Game " + std::to_string(i) + ":1:Roms\n";
  struct Row {
    const char* name;
    std::string lines;
    int records;
  } rows[] = {{"one line", "aa:1:Only:1:Roms\n", 1},
              {"two lines", "aa:1:First:1:Roms\nbb:1:Last:2:Roms\n", 2},
              {"a full table and more", full, kMaxRoms}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TitleWatcher watcher;
    SetMainWindow(&watcher);
    ASSERT_EQ(1, LoadDat(Dat(row.lines)));
    SetMainWindow(&window_);
    ASSERT_EQ(row.records, rom_count);
    const std::vector<TitleWatcher::Seen>& seen = watcher.seen;
    ASSERT_GE(seen.size(), 2u) << "a loading title and the idle title";
    EXPECT_EQ(1, seen.front().parsed) << "the first line names itself";
    for (size_t i = 0; i + 1 < seen.size(); ++i) {
      EXPECT_EQ(seen[i].expected, seen[i].title) << "title " << i;
      if (i > 0) {
        EXPECT_GT(seen[i].parsed, seen[i - 1].parsed) << "title " << i;
      }
    }
    EXPECT_EQ("Tarnwick GBA v0.3a", seen.back().title);
    EXPECT_EQ(row.records, seen.back().parsed);
    // Each line takes far less than 30 ms on any machine, so a full table shares titles.
    if (row.records == kMaxRoms) {
      EXPECT_LT(seen.size() - 1, static_cast<size_t>(kMaxRoms / 2));
    }
  }
}

TEST_F(DatLoaderTest, ReloadTakesOwnershipAfresh) {
  const std::string dat = Dat("aa:1:A:1:Roms\nbb:1:B:2:Roms\naa:1:A2:3:Roms\n");
  WriteFile(NativePath(kHavesFileName), "aa");  // a torn entry marks nothing
  ASSERT_EQ(1, LoadDat(dat));
  EXPECT_EQ(0, g_roms[0].have);
  WriteFile(NativePath(kHavesFileName), std::string("aa\0\0\0\0\0\0", 8));
  ASSERT_EQ(1, LoadDat(dat));
  EXPECT_EQ(1, g_roms[0].have);
  EXPECT_EQ(0, g_roms[1].have);
  EXPECT_EQ(1, g_roms[2].have);  // a ROM listed twice is owned twice
}

TEST_F(DatLoaderTest, NeverTouchesAFileNamedTempInTheCurrentFolder) {
  char old_cwd[4096];
  ASSERT_NE(nullptr, getcwd(old_cwd, sizeof(old_cwd)));
  ASSERT_EQ(0, chdir(dir().c_str()));
  WriteFile(NativePath("temp"), "the user's own file");
  EXPECT_EQ(1, LoadDat(Dat("aa:1:A\n")));
  EXPECT_EQ(0, LoadDatabase(SystemPath("missing.zip").c_str()));
  EXPECT_EQ("the user's own file", ReadFile(NativePath("temp")));
  std::filesystem::remove(NativePath("temp"));
  std::filesystem::create_directory(NativePath("temp"));
  EXPECT_EQ(1, LoadDat(Dat("aa:1:A\n")));
  EXPECT_TRUE(std::filesystem::is_directory(NativePath("temp")));
  ASSERT_EQ(0, chdir(old_cwd));
}
