// Scan, Rename and Move end to end on real folders: what lands where, the logs byte for byte,
// progress, the folder list and every error exit.
#include "app/scan_worker.h"
#include "scanner/scan_folders.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "database/haves_file.h"
#include "database/rom_table.h"
#include "support/core_test.h"
#include "app/list_commands.h"
#include "reports/rom_rows.h"
#include "scanner/crc32.h"
#include "scanner/placement.h"
#include "settings/settings.h"
#include "app/controls.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const char kEol[] = "\r\n";
#else
const char kEol[] = "\n";
#endif

enum Mode { kScanMode, kRenameMode, kMoveMode };

// Log lines as the platform writes text files.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + kEol;
  return text;
}

// A log's lines in any order, for files whose order the file system decides.
std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(kEol, start)) != std::string::npos; start = end + strlen(kEol))
    lines.push_back(text.substr(start, end - start));
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

class ScanTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    BuildCrcTable();
    fs::create_directories(NativePath("src"));
    fs::create_directories(NativePath("dest"));
    window_.SetControlText(IDC_SOURCE_FIELD, SystemPath("src").c_str());
    window_.SetControlText(IDC_DEST_FIELD, SystemPath("dest").c_str());
    g_settings.LOG = 1;
  }

  // A known ROM: its image's content decides its crc.
  int Rom(const char* name, const std::string& image, const char* category = "Roms",
          const char* group = "") {
    static std::vector<std::string> keys;  // AddRom copies the texts
    keys.push_back(CrcKey(image));
    return AddRom(
        {keys.back().c_str(), static_cast<int>(image.size()), name, "0001", category, group});
  }
  void Loose(const std::string& path, const std::string& image) { WriteFile(Src(path), image); }
  void Zipped(const std::string& path, const std::string& member, const std::string& image) {
    WriteZip(Src(path), {{member, image}});
  }
  std::string Src(const std::string& path) { return NativePath("src/" + path); }
  std::string Dest(const std::string& path) { return NativePath("dest/" + path); }
  std::string Log(const char* name) { return ReadFile(NativePath(name)); }

  void Run(Mode mode) { Run(mode, window_); }
  void Run(Mode mode, QuietWindow& window) {
    SetMainWindow(&window);
    ScanWorker(window, mode == kRenameMode ? ScanMode::kRename
                       : mode == kMoveMode ? ScanMode::kMove
                                           : ScanMode::kScan);
    SetMainWindow(&window_);
  }
  // Every file and folder under path, relative, sorted.
  std::vector<std::string> Tree(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(path))
      names.push_back(fs::relative(e.path(), path).generic_string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> HaveEntries() {
    std::string haves = ReadFile(NativePath(kHavesFileName));
    std::vector<std::string> entries;
    for (size_t i = 0; i + 8 <= haves.size(); i += 8) entries.push_back(haves.substr(i, 8));
    std::sort(entries.begin(), entries.end());
    return entries;
  }
  void ExpectDone() {
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ("Done!", window_.messages()[0].text);
    EXPECT_EQ("Scan", window_.messages()[0].caption);
    EXPECT_EQ(1, window_.scan_finished());
  }
};

TEST_F(ScanTest, ScanReportsAndRecordsWithoutTouchingFiles) {
  int alpha = Rom("Alpha", "image A");
  int beta = Rom("BETA", "image B");
  int gamma = Rom("Gamma", "image G");
  int delta = Rom("Delta", "image D");
  g_roms[delta].have = 1;
  Zipped("Alpha.zip", "alpha.gba", "image A");  // named as the database names it
  Zipped("BETA.ZIP", "b.GBA", "image B");       // upper-case ".ZIP" is not cut: wrong name
  Loose("gamma.gba", "image G");
  Loose("delta copy.gba", "image D");  // already owned: a duplicate
  Loose("stranger.gba", "unknown image");
  WriteZip(Src("two.zip"), {{"a.gba", "image A"}, {"b.gba", "image B"}});
  WriteFile(Src("notes.txt"), "not a rom");
  std::vector<std::string> before = Tree(NativePath("src"));

  Run(kScanMode);

  ExpectDone();
  EXPECT_EQ(before, Tree(NativePath("src")));
  EXPECT_TRUE(Tree(NativePath("dest")).empty());
  EXPECT_EQ((std::vector<int>{1, 1, 1, 1}),
            (std::vector<int>{g_roms[alpha].have, g_roms[beta].have, g_roms[gamma].have,
                              g_roms[delta].have}));
  std::vector<std::string> keys = {CrcKey("image A"), CrcKey("image B"), CrcKey("image G")};
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, HaveEntries());
  EXPECT_EQ(SortedLines(Lines({"File BETA.ZIP has wrong name: right: BETA",
                               "File gamma has wrong name: right: Gamma"})),
            SortedLines(Log("wrongnames.txt")));
  EXPECT_EQ(Lines({"Multiple Copies of Delta Found (original file: delta copy.gba)"}),
            Log("multifiles.txt"));
  EXPECT_EQ(Lines({"Unkown Rom " + SystemPath("src/stranger.gba")}), Log("unknown.txt"));
  EXPECT_EQ(Lines({"More than one rom found in " + SystemPath("src/two.zip") + " skipping"}),
            Log("multifilezip.txt"));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
  // Seven files, non-ROM files included, each advancing the bar before it is identified.
  EXPECT_EQ((std::vector<int>{14, 28, 42, 57, 71, 85, 100}), window_.progress());
  EXPECT_EQ("4", window_.text(IDC_HAVE_COUNTER)) << "the list is refreshed at the end";

  // A second scan finds every identified file owned: one multiple-copies line each, after
  // the lines of the first scan.
  std::string first = Log("multifiles.txt");
  Run(kScanMode);
  std::string both = Log("multifiles.txt");
  EXPECT_EQ(first, both.substr(0, first.size()));
  EXPECT_EQ(SortedLines(Lines({"Multiple Copies of Alpha Found (original file: Alpha.zip)",
                               "Multiple Copies of BETA Found (original file: BETA.ZIP)",
                               "Multiple Copies of Delta Found (original file: delta copy.gba)",
                               "Multiple Copies of Gamma Found (original file: gamma.gba)"})),
            SortedLines(both.substr(first.size())));
}

TEST_F(ScanTest, LogOffLeavesLogsAlone) {
  g_settings.LOG = 0;
  int owned = Rom("Owned", "image O");
  g_roms[owned].have = 1;
  Rom("Taken", "image T");
  Loose("owned.gba", "image O");
  Loose("taken.gba", "image T");
  Loose("stranger.gba", "unknown");
  WriteZip(Src("two.zip"), {{"a.gba", "1"}, {"b.gba", "2"}});
  WriteFile(Dest("Taken.gba"), "in the way");
  WriteFile(NativePath("notmoved.txt"), "from an earlier run\n");

  Run(kRenameMode);

  ExpectDone();
  EXPECT_EQ("from an earlier run\n", Log("notmoved.txt"));
  for (const char* log : {"multifiles.txt", "wrongnames.txt", "unknown.txt", "multifilezip.txt"})
    EXPECT_FALSE(FileExists(NativePath(log))) << log;
  EXPECT_EQ("in the way", ReadFile(Dest("Taken.gba")));
  EXPECT_TRUE(FileExists(Src("taken.gba")));
}

TEST_F(ScanTest, RenameGivesDatabaseNamesAndLowerCaseExtensions) {
  Rom("Alpha", "image A");
  Rom("Gamma", "image G");
  Rom("Blocked", "image X");
  Zipped("a1.ZIP", "x.gba", "image A");
  Loose("g.GBA", "image G");
  Loose("x.gba", "image X");
  WriteFile(Dest("Blocked.gba"), "someone else's file");

  Run(kRenameMode);

  ExpectDone();
  EXPECT_EQ((std::vector<std::string>{"x.gba"}), Tree(NativePath("src")));
  EXPECT_EQ((std::vector<std::string>{"Alpha.zip", "Blocked.gba", "Gamma.gba"}),
            Tree(NativePath("dest")));
  EXPECT_EQ("image G", ReadFile(Dest("Gamma.gba")));
  EXPECT_EQ("someone else's file", ReadFile(Dest("Blocked.gba")));
  EXPECT_EQ(Lines({"Unable To move file x.gba"}), Log("notmoved.txt"));
  EXPECT_EQ(3u, HaveEntries().size()) << "the blocked ROM is owned all the same";
}

TEST_F(ScanTest, RenameIntoSubFolders) {
  g_settings.SUB = 1;
  g_settings.TYPE = 1;  // country
  Rom("Alpha (E)", "image A");
  Rom("Gamma", "image G");
  Loose("a.gba", "image A");
  Loose("g.gba", "image G");
  Run(kRenameMode);
  EXPECT_EQ(
      (std::vector<std::string>{"Europe", "Europe/Alpha (E).gba", "UNKNOWN", "UNKNOWN/Gamma.gba"}),
      Tree(NativePath("dest")));

  // A classification that gives no name puts the file in the destination itself.
  g_settings.TYPE = 7;
  Rom("Omega", "image W");
  Loose("w.gba", "image W");
  window_.ClearRecord();
  Run(kRenameMode);
  EXPECT_TRUE(FileExists(Dest("Omega.gba")));
}

TEST_F(ScanTest, RenameDuplicatesTakeTheProperNameOrGoToDupes) {
  int alpha = Rom("Alpha", "image A");
  int beta = Rom("Beta", "image B");
  g_roms[alpha].have = g_roms[beta].have = 1;
  Zipped("old alpha.zip", "a.gba", "image A");
  Loose("old beta.gba", "image B");
  WriteFile(Dest("Beta.gba"), "the copy found earlier");

  Run(kRenameMode);

  EXPECT_EQ((std::vector<std::string>{"Alpha.zip", "Beta.gba", "Dupes",
                                      "Dupes/DUPE-Beta (old beta.gba).gba"}),
            Tree(NativePath("dest")));
  EXPECT_EQ("the copy found earlier", ReadFile(Dest("Beta.gba")));
  EXPECT_EQ(SortedLines(Lines({"Multiple Copies of Alpha Found (original file: old alpha.zip)",
                               "Multiple Copies of Beta Found (original file: old beta.gba)"})),
            SortedLines(Log("multifiles.txt")));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
  EXPECT_FALSE(FileExists(NativePath(kHavesFileName))) << "duplicates append nothing";
}

TEST_F(ScanTest, TwoRecordsWithOneCrc) {
  Rom("First", "same image");
  Rom("Second", "same image");
  Loose("file.gba", "same image");
  Run(kRenameMode);
  EXPECT_EQ((std::vector<std::string>{"First.gba"}), Tree(NativePath("dest")));
  EXPECT_EQ(Lines({"Unable To move file file.gba"}), Log("notmoved.txt"));
  EXPECT_EQ(1, g_roms[1].have);
  EXPECT_EQ(CrcKey("same image") + CrcKey("same image"), ReadFile(NativePath(kHavesFileName)));
}

TEST_F(ScanTest, MoveKeepsOwnNamesAndSendsDuplicatesToDupes) {
  g_settings.SUB = 1;
  g_settings.TYPE = 0;  // category
  Rom("Alpha", "image A", "Roms");
  int beta = Rom("Beta", "image B", "Demos");
  int gamma = Rom("Gamma", "image G", "Roms");
  g_roms[beta].have = g_roms[gamma].have = 1;
  Loose("my alpha.gba", "image A");
  Zipped("beta.zip", "b.gba", "image B");
  Loose("gamma.gba", "image G");
  fs::create_directories(Dest("Dupes"));
  WriteFile(Dest("Dupes/gamma.gba"), "older");

  Run(kMoveMode);

  // The duplicate's sub-folder is made even though the duplicate goes to Dupes.
  EXPECT_EQ((std::vector<std::string>{"Demos", "Dupes", "Dupes/beta.zip", "Dupes/gamma.gba", "Roms",
                                      "Roms/my alpha.gba"}),
            Tree(NativePath("dest")));
  EXPECT_EQ("older", ReadFile(Dest("Dupes/gamma.gba")));
  EXPECT_EQ((std::vector<std::string>{"gamma.gba"}), Tree(NativePath("src")));
  EXPECT_EQ(Lines({"Unable To move file gamma.gba"}), Log("notmoved.txt"));
}

// A destination inside the source is listed too; the files moved into it are met there
// again and must not be taken for duplicates of themselves.
TEST_F(ScanTest, DestinationInsideTheSourceIsNotScannedTwice) {
  Rom("Alpha", "image A");
  Rom("Beta", "image B");
  Loose("a.gba", "image A");
  Loose("b.gba", "image B");
  fs::create_directories(Src("Sorted"));
  WriteFile(Src("Sorted/old.txt"), "already there");
  window_.SetControlText(IDC_DEST_FIELD, SystemPath("src/Sorted").c_str());
  Run(kMoveMode);
  ExpectDone();
  EXPECT_EQ((std::vector<std::string>{"Sorted", "Sorted/a.gba", "Sorted/b.gba", "Sorted/old.txt"}),
            Tree(NativePath("src")));
  EXPECT_FALSE(FileExists(NativePath("multifiles.txt")));

  // The same folder as source and destination: Rename names the files in place.
  window_.SetControlText(IDC_SOURCE_FIELD, SystemPath("src/Sorted").c_str());
  window_.ClearRecord();
  ResetHaves();
  Run(kRenameMode);
  EXPECT_EQ((std::vector<std::string>{"Alpha.gba", "Beta.gba", "old.txt"}),
            Tree(NativePath("src/Sorted")));
  EXPECT_FALSE(FileExists(NativePath("multifiles.txt")));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
}

TEST_F(ScanTest, FolderListIsTheSourceAndItsDirectSubFolders) {
  g_settings.LOG = 1;
  for (const char* folder : {"A", "rECYCLED", "System Volume Information", "RECYCLER", "A/Deep"}) {
    fs::create_directories(Src(folder));
    Loose(std::string(folder) + "/x.gba", std::string("image in ") + folder);
  }
  Loose("top.gba", "image on top");
  Run(kScanMode);
  EXPECT_EQ(SortedLines(Lines({"Unkown Rom " + SystemPath("src/A/x.gba"),
                               "Unkown Rom " + SystemPath("src/RECYCLER/x.gba"),
                               "Unkown Rom " + SystemPath("src/top.gba")})),
            SortedLines(Log("unknown.txt")));
  EXPECT_EQ((std::vector<int>{33, 66, 100}), window_.progress());
}

#ifndef _WIN32  // paths this long need more than Windows' classic path limit to create
TEST_F(ScanTest, FolderListPassesOverFoldersItCannotHold) {
  // A 259-character source and a 255-character sub-folder make 515 characters: too long for
  // a folder-list entry, so that folder is passed over rather than entered under a cut path.
  std::string source = "src/" + std::string(259 - SystemPath("src/").size(), 's');
  std::string deep = source + "/" + std::string(255, 'd');
  fs::create_directories(NativePath(deep));
  WriteFile(NativePath(deep + "/x.gba"), "unseen");
  WriteFile(NativePath(source + "/top.gba"), "seen");
  ASSERT_EQ(259u, SystemPath(source).size());
  window_.SetControlText(IDC_SOURCE_FIELD, SystemPath(source).c_str());
  Run(kScanMode);
  ExpectDone();
  EXPECT_EQ(Lines({"Unkown Rom " + SystemPath(source + "/top.gba")}), Log("unknown.txt"));
  EXPECT_EQ((std::vector<int>{100}), window_.progress());
}
#endif

#ifndef _WIN32  // the same code on both builds; making 8100 folders under Wine takes 40 s
TEST_F(ScanTest, FolderListHoldsTheSourceAndAtMost8095SubFolders) {
  g_settings.LOG = 0;
  Rom("Top", "top image");
  Loose("top.gba", "top image");
  for (int i = 0; i < kMaxFolders + 3; ++i) {
    std::string folder = "f" + std::to_string(i);
    fs::create_directory(Src(folder));
    WriteFile(Src(folder + "/x.txt"), "");
  }
  Run(kScanMode);
  ExpectDone();
  // The source (one file of its own) and 8095 sub-folders, one file each; the rest unseen.
  EXPECT_EQ(static_cast<size_t>(kMaxFolders), window_.progress().size());
  EXPECT_EQ(1, g_roms[0].have);
}
#endif

// The show filter stays usable during a scan, so the UI thread may rebuild the list while
// the worker builds names of its own for the same records.
TEST_F(ScanTest, ListRefreshesDuringARenameChangeNoTarget) {
  g_settings.NUM = 1;
  g_settings.SIZE = 1;
  const int kRoms = 150;
  std::vector<std::string> expected;
  for (int i = 0; i < kRoms; ++i) {
    std::string name = "Game " + std::to_string(i);
    Rom(name.c_str(), "image " + std::to_string(i));
    Loose("file " + std::to_string(i) + ".gba", "image " + std::to_string(i));
    expected.push_back("0001" + name + " (0mbit).gba");
  }
  std::sort(expected.begin(), expected.end());
  std::atomic<bool> done{false};
  std::thread worker([&] {
    ScanWorker(window_, ScanMode::kRename);
    done = true;
  });
  while (!done) RefreshRomList();
  worker.join();
  EXPECT_EQ(expected, Tree(NativePath("dest")));
  EXPECT_FALSE(FileExists(NativePath("notmoved.txt")));
}

TEST_F(ScanTest, ErrorExitsShowTheirMessageAndReenableTheControls) {
  const int kDisabledInOrder[] = {1024, 1034, 1014, 1015, 1013, 1055, 1056, 1054, 1009, 1017, 1019};
  const int kEnabledInOrder[] = {1024, 1034, 1014, 1015, 1013, 1009, 1017, 1019, 1054, 1056, 1055};
  WriteFile(NativePath("a file"), "not a folder");
  fs::create_directories(NativePath("empty"));
  Loose("a.gba", "image A");
  struct Row {
    const char* name;
    Mode mode;
    std::string source, dest;
    const char* message;
  } rows[] = {
      {"no source", kScanMode, "", "", "No Source Path Selected!"},
      {"rename without dest", kRenameMode, SystemPath("src"), "", "No Destination Path Selected!"},
      {"move without dest", kMoveMode, SystemPath("src"), "", "No Destination Path Selected!"},
      {"unreadable source", kScanMode, SystemPath("missing"), "", "Unable To Read Files In Dir!"},
      {"rename to a missing dest", kRenameMode, SystemPath("src"), SystemPath("gone"),
       "Destination Path Not Found!"},
      {"move to a file", kMoveMode, SystemPath("src"), SystemPath("a file"),
       "Destination Path Not Found!"},
      {"scan needs no dest", kScanMode, SystemPath("empty"), SystemPath("gone"), "Done!"},
  };
  Rom("Alpha", "image A");
  for (const Row& r : rows) {
    QuietWindow window;
    window.SetControlText(IDC_SOURCE_FIELD, r.source.c_str());
    window.SetControlText(IDC_DEST_FIELD, r.dest.c_str());
    Run(r.mode, window);
    std::vector<std::string> expected;
    for (int id : kDisabledInOrder) expected.push_back("disable " + std::to_string(id));
    expected.push_back("title Tarnwick GBA v0.3a - Scanning Roms");
    // Only a scan that ran to its end refreshes the list, and does so on the UI thread.
    if (std::string(r.message) == "Done!") expected.push_back("ui-task");
    expected.push_back(std::string("message ") + r.message);
    expected.push_back("scan-finished");
    for (int id : kEnabledInOrder) expected.push_back("enable " + std::to_string(id));
    expected.push_back("title Tarnwick GBA v0.3a");
    EXPECT_EQ(expected, window.events()) << r.name;
    if (std::string(r.message) != "Done!") {
      EXPECT_EQ("Scan Error", window.messages().at(0).caption) << r.name;
      EXPECT_TRUE(window.rows().empty()) << r.name << ": no list refresh after an error";
      // Nothing was done: no ROM owned, no haves entry, no log.
      EXPECT_EQ(0, g_roms[0].have) << r.name;
      EXPECT_EQ((std::vector<std::string>{"a file", "dest", "empty", "src", "src/a.gba"}),
                Tree(dir()))
          << r.name;
    } else {
      EXPECT_EQ((std::vector<std::string>{"Alpha"}), window.rows()) << r.name;
      EXPECT_TRUE(window.progress().empty()) << r.name << ": no files, no division by zero";
    }
  }
}

TEST_F(ScanTest, HostileDatabaseNamesNeverLeaveTheDestination) {
  const char* kNames[] = {"..\\escaped",
                          "../escaped",
                          "sub/name",
                          "sub\\name",
                          "..",
                          ".",
                          "CON",
                          "nul.txt",
                          "Com1",
                          "lpt9.gba",
                          "a:b",
                          "C:",
                          "what?",
                          "a*b",
                          "tab\there",
                          "C:\\Windows\\evil",
                          "\\\\server\\share\\evil",
                          "D:evil",
                          "AUX .txt",
                          "CONIN$",
                          "conout$.gba",
                          "COM\xB9",
                          "lpt\xB3.zip",
                          "prn"};
  int i = 0;
  for (const char* name : kNames) {
    std::string image = "image " + std::to_string(i);
    Rom(name, image);
    Loose("file" + std::to_string(i++) + ".gba", image);
  }
  Rom("Fine", "fine image");
  Loose("fine.gba", "fine image");
  std::vector<std::string> outside = Tree(dir());

  Run(kRenameMode);

  EXPECT_EQ((std::vector<std::string>{"Fine.gba"}), Tree(NativePath("dest")));
  EXPECT_EQ(std::size(kNames), Tree(NativePath("src")).size()) << "every refused file stays";
  EXPECT_EQ(std::size(kNames), SortedLines(Log("notmoved.txt")).size());
  EXPECT_EQ(std::size(kNames) + 1, HaveEntries().size()) << "refused files are owned anyway";
  for (int r = 0; r < rom_count; ++r) EXPECT_EQ(1, g_roms[r].have) << g_roms[r].name;

  // Sub-folder names from the database are checked the same way, and never created.
  ClearRomTable();
  g_settings.SUB = 1;
  g_settings.TYPE = 4;  // group
  Rom("Safe", "grouped image", "Roms", "..");
  Loose("grouped.gba", "grouped image");
  Run(kMoveMode);
  EXPECT_TRUE(FileExists(Src("grouped.gba")));
  EXPECT_EQ((std::vector<std::string>{"Fine.gba"}), Tree(NativePath("dest")));
}

#ifndef _WIN32  // Windows refuses paths this long before any buffer of ours could
// A target one character longer than its 1024-byte buffer is refused, never cut: padding the
// destination with "\." segments makes the cut path a real place where a cut move would land.
TEST_F(ScanTest, TargetsThatDoNotFitAreFailedMovesNotCutOnes) {
  std::string dest = SystemPath("dest");
  while (dest.size() < 900) dest += "\\.";
  for (size_t length : {1023u, 1024u}) {
    std::string name(length - dest.size() - strlen("\\.gba"), 'G');
    std::string image = "image " + std::to_string(length);
    int index = Rom(name.c_str(), image);
    Loose("g.gba", image);
    std::string path = SystemPath("src/g.gba");
    ScanFile file = {path.c_str(), "g.gba", "gba", false, ""};
    PlaceFile(index, file, dest.c_str(), ScanMode::kRename);
    EXPECT_EQ(length == 1023, !FileExists(Src("g.gba"))) << length;
    EXPECT_EQ(length == 1023 ? 1u : 0u, Tree(NativePath("dest")).size()) << length;
    fs::remove_all(NativePath("dest")), fs::create_directory(NativePath("dest"));
  }
  EXPECT_EQ(Lines({"Unable To move file g.gba"}), Log("notmoved.txt"));
}
#endif

#ifndef _WIN32
// A folder named "C:" in the working folder stands in for a drive root here.
TEST_F(ScanTest, DriveRootsKeepOneSeparator) {
  fs::path was = fs::current_path();
  fs::current_path(dir());
  fs::create_directories("C:/Games/Deeper");
  fs::create_directories("D:");
  WriteFile("C:/top.gba", "top image");
  WriteFile("C:/Games/x.gba", "unknown");
  WriteFile("C:/Games/Deeper/y.gba", "never seen");
  Rom("Top", "top image");
  window_.SetControlText(IDC_SOURCE_FIELD, "C:\\");
  window_.SetControlText(IDC_DEST_FIELD, "D:\\");
  Run(kRenameMode);
  EXPECT_TRUE(FileExists("D:/Top.gba"));
  EXPECT_EQ(Lines({"Unkown Rom C:\\Games\\x.gba"}), Log("unknown.txt"));
  EXPECT_EQ((std::vector<int>{50, 100}), window_.progress());
  fs::current_path(was);
}
#endif

// Broken and lying archives among the user's files: each is passed over or placed whole, and
// the scan runs to its end.
TEST_F(ScanTest, BrokenAndLyingZipsAreLeftWholeOrPlacedWhole) {
  g_settings.LOG = 1;
  Rom("Alpha", "image A");
  Rom("Beta", "image B");
  WriteZip(NativePath("good.zip"), {{"a.gba", "image A"}});
  const std::string good = ReadFile(NativePath("good.zip"));
  // Offsets into the end-of-central-directory record and the central header.
  const size_t end_record = good.rfind("PK\5\6"), central = good.rfind("PK\1\2");
  ASSERT_NE(std::string::npos, end_record);
  auto patched = [&](size_t at, const std::string& bytes) {
    std::string zip = good;
    zip.replace(at, bytes.size(), bytes);
    return zip;
  };
  struct Row {
    const char* name;
    std::string bytes;
    bool moves;  // placed as Alpha, or left where it is
  } rows[] = {
      {"empty.zip", "", false},
      {"truncated.zip", good.substr(0, good.size() / 2), false},
      {"no end record.zip", good.substr(0, end_record), false},
      {"counts disagree.zip", patched(end_record + 8, std::string("\x05\x00", 2)), false},
      {"name runs past the end.zip", patched(central + 28, "\xff\xff"), false},
      // Read up to the first entry that is not there.
      {"claims more entries.zip", patched(end_record + 8, std::string("\x03\x00\x03\x00", 4)),
       true},
      {"data offset past the end.zip", patched(central + 42, "\xff\xff\xff\x7f"), true},
  };
  for (const Row& r : rows) WriteFile(Src(r.name), r.bytes);
  Loose("beta.gba", "image B");

  testing::internal::CaptureStdout();
  Run(kMoveMode);
  testing::internal::GetCapturedStdout();

  ExpectDone();
  EXPECT_EQ("image B", ReadFile(Dest("beta.gba")));
  for (const Row& r : rows) {
    // Two of them hold Alpha: one takes its place, the other goes to Dupes.
    std::string dupe = Dest(std::string("Dupes/") + r.name);
    std::string at = FileExists(Dest(r.name)) ? Dest(r.name)
                     : FileExists(dupe)       ? dupe
                                              : Src(r.name);
    EXPECT_EQ(r.moves, at != Src(r.name)) << r.name;
    EXPECT_EQ(r.bytes, ReadFile(at)) << r.name;
    EXPECT_FALSE(at != Src(r.name) && FileExists(Src(r.name))) << r.name << ": in one place";
  }
}

#ifndef _WIN32  // a 255-byte name is POSIX's limit; Windows counts the whole path instead
TEST_F(ScanTest, FileNamesAtThePlatformLimit) {
  g_settings.LOG = 1;
  Rom("Alpha", "image A");
  const std::string longest = std::string(255 - 4, 'n') + ".gba";
  Loose(longest, "image A");
  Run(kMoveMode);
  EXPECT_EQ("image A", ReadFile(Dest(longest))) << "moved under its own 255-byte name";

  // A duplicate whose Dupes name would pass the limit stays where it is, and is logged.
  Loose(longest, "image A");
  WriteFile(Dest("Alpha.gba"), "the user's file");
  window_.ClearRecord();
  Run(kRenameMode);
  EXPECT_EQ("image A", ReadFile(Src(longest)));
  EXPECT_EQ("the user's file", ReadFile(Dest("Alpha.gba")));
  EXPECT_EQ(Lines({"Unable To move file " + longest}), Log("notmoved.txt"));
}
#endif
