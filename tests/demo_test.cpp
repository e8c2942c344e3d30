// demo_test.cpp: the demo as the program meets it at a first start, every kind of file a scan
// can meet in it, and a program folder already in use left as it was.
#include <algorithm>
#include <filesystem>

#include "database/rom_table.h"
#include "fakes/test_support.h"
#include "app/list_commands.h"
#include "reports/rom_rows.h"
#include "scanner/crc32.h"
#include "app/scan_worker.h"
#include "scanner/scan_folders.h"
#include "app/startup.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "tools/demo/demo_maker.h"
#include "app/controls.h"

namespace fs = std::filesystem;

class DemoTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    BuildCrcTable();
    seen_ = dir();
    std::replace(seen_.begin(), seen_.end(), '/', '\\');
  }

  // Makes the demo and starts the program on it, as a first start does.
  void MakeAndStart() {
    std::string message;
    ASSERT_EQ(DemoResult::kMade, MakeDemo(dir(), seen_, &message)) << message;
    ASSERT_EQ(1, LoadIni());
    ASSERT_TRUE(window_.messages().empty()) << window_.messages()[0].text;
  }
  void Run(bool rename) {
    ScanWorker(window_, rename ? ScanMode::kRename : ScanMode::kScan);
  }
  std::string Demo(const std::string& name) const { return seen_ + "\\Demo\\" + name; }
  std::string Log(const char* name) { return ReadTextFile(NativePath(name)); }
  std::vector<std::string> Tree(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(NativePath(path)))
      names.push_back(fs::relative(e.path(), NativePath(path)).generic_string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Counters() {
    return window_.text(IDC_KNOWN_COUNTER) + " " + window_.text(IDC_HAVE_COUNTER) + " " +
           window_.text(IDC_MISS_COUNTER);
  }

  std::string seen_;  // the program folder as the program sees it
};

TEST_F(DemoTest, FirstStartShowsTheLoadedList) {
  MakeAndStart();
  EXPECT_EQ(Demo("Sample (QVX).zip"), window_.text(IDC_DATABASE_FIELD));
  EXPECT_EQ(Demo("Source"), window_.text(IDC_SOURCE_FIELD));
  EXPECT_EQ(Demo("Destination"), window_.text(IDC_DEST_FIELD));
  EXPECT_EQ(35, rom_count);
  EXPECT_EQ("18 (35) 0 18", Counters()) << "regular releases only, nothing owned yet";
  EXPECT_EQ(18u, window_.rows().size());
  EXPECT_TRUE(window_.enabled(IDC_SCAN));
  EXPECT_EQ(1, g_settings.LOG);
  EXPECT_EQ(1, g_settings.TYPE);
  EXPECT_TRUE(Tree("Demo/Destination").empty());
}

TEST_F(DemoTest, ScanMeetsEveryKindOfFile) {
  MakeAndStart();
  std::vector<std::string> before = Tree("Demo/Source");

  Run(false);

  EXPECT_EQ("Done!", window_.messages().at(0).text);
  EXPECT_EQ(before, Tree("Demo/Source"));
  // Five regular releases, a beta, a pirate dump and a scene dump are owned now.
  EXPECT_EQ("21 (35) 8 13", Counters());
  EXPECT_EQ(
      "Multiple Copies of Lantern Valley (U) Found (original file: Lantern Valley (U) "
      "(copy).gba)\n",
      Log("multifiles.txt"));
  EXPECT_EQ("File moss_marrow has wrong name: right: Moss & Marrow (J)\n", Log("wrongnames.txt"));
  EXPECT_EQ("Unkown Rom " + Demo("Source\\Homebrew Sketch.gba") + "\n", Log("unknown.txt"));
  EXPECT_EQ("More than one rom found in " + Demo("Source\\Twin Pack.zip") + " skipping\n",
            Log("multifilezip.txt"));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
}

TEST_F(DemoTest, RenameTidiesTheSourceIntoTheDestination) {
  MakeAndStart();

  Run(true);

  EXPECT_EQ(
      (std::vector<std::string>{"Homebrew Sketch.gba", "More", "Twin Pack.zip", "readme.txt"}),
      Tree("Demo/Source"));
  EXPECT_EQ((std::vector<std::string>{
                "Copper Comet (E).zip",
                "Copper Comet 2 (Ch) (Pirate).zip",
                "Dupes",
                "Dupes/DUPE-Lantern Valley (U) (Lantern Valley (U) (copy).gba).gba",
                "Lantern Valley (U) (Beta).gba",
                "Lantern Valley (U).gba",
                "Moss & Marrow (J).gba",
                "Orbit Bakery (G) (Intro).zip",
                "Orbit Bakery (G).zip",
                "Tidewater Tales (F).gba",
            }),
            Tree("Demo/Destination"));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
}

// Each include option brings its own category into the list.
TEST_F(DemoTest, EveryIncludeOptionChangesTheList) {
  MakeAndStart();
  int32_t Settings::*flags[] = {&Settings::IncAlt,        &Settings::IncBeta,
                                &Settings::IncDevKit,     &Settings::IncHardware,
                                &Settings::IncPirate,     &Settings::IncPnesHacks,
                                &Settings::IncPreTrained, &Settings::IncScene};
  for (size_t i = 0; i < sizeof flags / sizeof flags[0]; ++i) {
    g_settings.*flags[i] = 1;
    RefreshRomList();
    EXPECT_GT(window_.rows().size(), 18u) << "include option " << i;
    g_settings.*flags[i] = 0;
  }
}

TEST_F(DemoTest, AFolderInUseOrUnusableIsLeftAlone) {
  struct Row {
    const char* name;
    const char* existing;  // made before the demo, with its content
    std::string seen;      // the folder as the program would see it; empty: the real one
    DemoResult result;
  } rows[] = {
      {"settings", "qvxgba.ini", "", DemoResult::kIniExists},
      {"demo folder", "Demo/keep.txt", "", DemoResult::kDemoExists},
      {"long path", nullptr, "Z:\\" + std::string(240, 'a'), DemoResult::kBadPath},
      {"non-ASCII path", nullptr, "Z:\\home\\j\xc3\xb6rg", DemoResult::kBadPath},
  };
  for (const Row& row : rows) {
    fs::remove_all(dir());
    fs::create_directories(dir());
    if (row.existing != nullptr) {
      fs::create_directories(fs::path(NativePath(row.existing)).parent_path());
      WriteFile(NativePath(row.existing), "the user's");
    }
    std::vector<std::string> before = Tree("");
    std::string message;
    EXPECT_EQ(row.result, MakeDemo(dir(), row.seen.empty() ? seen_ : row.seen, &message))
        << row.name;
    EXPECT_FALSE(message.empty()) << row.name;
    EXPECT_EQ(before, Tree("")) << row.name << ": nothing written, nothing left behind";
    if (row.existing != nullptr) {
      EXPECT_EQ("the user's", ReadFile(NativePath(row.existing))) << row.name;
    }
  }
}
