// Scan, Rename and Move end to end on real folders: the rows of scan_cases, then the error
// exits, a scan beside list refreshes, unsafe names and the limits of paths and the folder list.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/scan_worker.h"
#include "database/rom_table.h"
#include "scan_cases.h"
#include "scanner/placement.h"
#include "scanner/scan_folders.h"
#include "settings/settings.h"
#include "support/core_test.h"

class ScanTest : public CoreTest {
 protected:
  void Run(const ScanCase& c, QuietWindow& window) {
    MakeScanCase(c, dir());
    RunScanCase(c, window, dir());
    SetMainWindow(&window_);
  }
};

TEST_F(ScanTest, Rows) {
  for (const ScanCase& c : ScanCases()) {
    SCOPED_TRACE(c.name);
    QuietWindow window;
    Run(c, window);
    ASSERT_LE(1u, window.messages().size());
    EXPECT_EQ("Done!", window.messages().back().text);
    EXPECT_EQ(ExpectedTree(c), ScanTree(dir()));
    EXPECT_EQ(List(c.logs), ScanLogs(dir()));
    EXPECT_EQ(List(c.haves), HaveKeys(dir()));
    std::string progress;
    for (int p : window.progress()) progress += (progress.empty() ? "" : " ") + std::to_string(p);
    EXPECT_TRUE(c.progress.empty() || c.progress == progress) << progress;
    // Owned: what was owned before and every record the haves file names.
    int owned = 0;
    for (int i = 0; i < rom_count; ++i) owned += g_roms[i].have;
    EXPECT_EQ(std::count(c.roms.begin(), c.roms.end(), '*') + List(c.haves).size(),
              static_cast<size_t>(owned));
  }
}

TEST_F(ScanTest, ErrorExitsShowTheirMessageAndReenableTheControls) {
  const int kDisabledInOrder[] = {1024, 1034, 1014, 1015, 1013, 1055, 1056, 1054, 1009, 1017, 1019};
  const int kEnabledInOrder[] = {1024, 1034, 1014, 1015, 1013, 1009, 1017, 1019, 1054, 1056, 1055};
  for (const char* row :
       {"Scan FROM=none:No Source Path Selected!", "Rename TO=none:No Destination Path Selected!",
        "Move TO=none:No Destination Path Selected!",
        "Scan FROM=missing:Unable To Read Files In Dir!",
        "Rename TO=gone:Destination Path Not Found!",
        "Move TO=src/a.gba:Destination Path Not Found!",
        "Scan FROM=dest TO=gone:Done!"}) {  // Scan needs no destination
    SCOPED_TRACE(row);
    std::string run = row, message = run.substr(run.find(':') + 1);
    QuietWindow window;
    Run({"", run.substr(0, run.find(':')), "Alpha=A", "src/a.gba=A"}, window);
    std::vector<std::string> expected;
    for (int id : kDisabledInOrder) expected.push_back("disable " + std::to_string(id));
    expected.push_back("title Tarnwick GBA v0.3a - Scanning Roms");
    if (message == "Done!") expected.push_back("ui-task");  // only then is the list refreshed
    expected.push_back("message " + message);
    expected.push_back("scan-finished");
    for (int id : kEnabledInOrder) expected.push_back("enable " + std::to_string(id));
    expected.push_back("title Tarnwick GBA v0.3a");
    EXPECT_EQ(expected, window.events());
    EXPECT_EQ(message == "Done!" ? "Scan" : "Scan Error", window.messages().at(0).caption);
    EXPECT_EQ(message == "Done!" ? 1u : 0u, window.rows().size());
    // Nothing was done: no ROM owned, no file moved, no log or haves file.
    EXPECT_EQ(0, g_roms[0].have);
    EXPECT_EQ((std::vector<std::string>{"dest/", "src/", "src/a.gba"}), Tree(dir()));
  }
}

// The show filter stays usable during a scan, so the UI thread may rebuild the list while
// the worker builds names of its own for the same records.
TEST_F(ScanTest, RunsWhileTheListRefreshes) {
  ScanCase c = {"", "Rename"};
  for (int i = 0; i < 150; ++i) {
    std::string n = std::to_string(i), sep = i ? "; " : "";
    c.roms += sep + "Game " + n + "=" + n;
    c.files += sep + "src/" + n + ".gba=" + n;
    c.tree += sep + "dest/0001Game " + n + " (0mbit).gba=" + n;
  }
  MakeScanCase(c, dir());
  g_settings.NUM = g_settings.SIZE = 1;
  window_.SetControlText(IDC_SOURCE_FIELD, SystemPath("src").c_str());
  window_.SetControlText(IDC_DEST_FIELD, SystemPath("dest").c_str());
  std::atomic<bool> done{false};
  std::thread worker([&] {
    ScanWorker(window_, ScanMode::kRename);
    done = true;
  });
  while (!done) RefreshRomList();
  worker.join();
  EXPECT_EQ(ExpectedTree(c), ScanTree(dir()));
  EXPECT_TRUE(ScanLogs(dir()).empty());
}

TEST(IsSafeName, RefusesWhatCouldLeaveTheFolderOrNameADevice) {
  for (const char* name : {"..\\escaped",
                           "../escaped",
                           "sub/name",
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
                           "a<b",
                           "a>b",
                           "a|b",
                           "a\"b",
                           "tab\there",
                           "\\\\server\\share",
                           "AUX .txt",
                           "CONIN$",
                           "conout$.gba",
                           "COM\xB9",
                           "lpt\xB3.zip",
                           "prn"})
    EXPECT_FALSE(IsSafeName(name)) << name;
  for (const char* name : {"Fine", "...", "a.b", "CONSOLE", "COM0", "LPT10", "nul-x", "Com 1"})
    EXPECT_TRUE(IsSafeName(name)) << name;
}

#ifndef _WIN32  // paths this long need more than Windows' classic path limit to create
TEST_F(ScanTest, FolderListAndTargetsPassOverWhatTheyCannotHold) {
  // A 259-character source and a 255-character sub-folder make 515 characters: too long for a
  // folder-list entry, so that folder is passed over rather than entered under a cut path.
  std::string s(259 - SystemPath("src/").size(), 's'), source = "src/" + s;
  Run({"", "Scan FROM=" + source, "",
       source + "/top.gba=T; " + source + "/" + std::string(255, 'd') + "/x.gba=D"},
      window_);
  EXPECT_EQ((std::vector<int>{100}), window_.progress());
  EXPECT_EQ(List("unknown.txt: Unkown Rom @\\src\\" + s + "\\top.gba"), ScanLogs(dir()));

  // A target one character longer than its 1024-byte buffer is refused, never cut: the "\."
  // padding makes the cut path a real place where a cut move would land.
  std::string dest = SystemPath("dest");
  while (dest.size() < 900) dest += "\\.";
  for (size_t length : {1023u, 1024u}) {
    std::string name(length - dest.size() - strlen("\\.gba"), 'G');
    MakeScanCase({"", "Rename", name + "=A", "src/g.gba=A"}, dir());
    std::string path = SystemPath("src/g.gba");
    ScanFile file = {path.c_str(), "g.gba", "gba", false, ""};
    PlaceFile(0, file, dest.c_str(), ScanMode::kRename);
    bool fits = length == 1023;
    EXPECT_EQ(std::vector<std::string>{fits ? "dest/" + name + ".gba=A" : "src/g.gba=A"},
              ScanTree(dir()));
    EXPECT_EQ(fits ? 0u : 1u, ScanLogs(dir()).size());
  }
}

// The same code on both builds; making 8100 folders under Wine takes 40 s.
TEST_F(ScanTest, FolderListHoldsTheSourceAndAtMost8095SubFolders) {
  ScanCase c = {"", "Scan NOLOG", "Top=T", "src/top.gba=T"};
  for (int i = 0; i < kMaxFolders + 3; ++i) c.files += "; src/f" + std::to_string(i) + "/x=";
  Run(c, window_);
  EXPECT_EQ(static_cast<size_t>(kMaxFolders), window_.progress().size());
  EXPECT_EQ(1, g_roms[0].have);
}
#endif
