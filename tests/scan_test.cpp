// Scan, Rename and Move end to end on real folders (the rows of scan_cases run in the fault
// sweeps, whose clean run checks them): the error exits, a scan beside list refreshes, unsafe names
// and the limits of paths and the folder list.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/scan_worker.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "scan_cases.h"
#include "scanner/log_files.h"
#include "scanner/placement.h"
#include "scanner/scan_folders.h"
#include "settings/settings.h"
#include "support/core_test.h"

class ScanTest : public CoreTest {
 protected:
  void Run(const ScanCase& c) {
    MakeScanCase(c, dir());
    RunScanCase(c, dir());
  }
};

// Which controls a run disables and gives back is the end-to-end tests'; here, that the run's
// start is one trip to the UI thread and only a scan that ran refreshes the list.
TEST_F(ScanTest, ErrorExitsShowTheirMessageAndReenableTheControls) {
  // A Scan needs no destination.
  for (const char* row :
       {"Scan FROM=none:No Source Path Selected!", "Rename TO=none:No Destination Path Selected!",
        "Move TO=src/a.gba:Destination Path Not Found!", "Scan FROM=dest TO=gone:Done!"}) {
    SCOPED_TRACE(row);
    std::string run = row, message = run.substr(run.find(':') + 1), events;
    Run({"", run.substr(0, run.find(':')), "Alpha=A", "src/a.gba=A"});
    for (const std::string& event : window_.events())
      if (event.find("able ") == std::string::npos) events += event + "; ";
    EXPECT_EQ("ui-task; title Tarnwick GBA v0.3a - Scanning Roms; " +
                  std::string(message == "Done!" ? "ui-task; " : "") + "message " + message +
                  "; scan-finished; title Tarnwick GBA v0.3a; ",
              events);
    EXPECT_TRUE(window_.enabled(IDC_SCAN));
    EXPECT_EQ(message == "Done!" ? "Scan" : "Scan Error", window_.messages().at(0).caption);
    // Nothing was done: no file moved, no log or haves file.
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
  auto scan = std::async(std::launch::async, [&] { RunScanCase(c, dir()); });
  while (scan.wait_for(std::chrono::seconds(0)) != std::future_status::ready) RefreshRomList();
  EXPECT_EQ(List(c.tree), ScanTree(dir()));
}

// A scan holds its logs open; each line is still in its file as soon as it is written, and a
// user can delete the log meanwhile (under Windows too).
TEST_F(ScanTest, HeldLogsHaveEachLineAtOnce) {
  g_settings.LOG = 1;
  LogWriter logs;
  std::string expected;
  for (const char* name : {"a.gba", "b.gba"}) {
    logs.Write(Log::kUnmatched, name);
    EXPECT_EQ(expected += std::string("Unkown Rom ") + name + "\n",
              ReadTextFile(NativePath("unknown.txt")));
  }
  EXPECT_TRUE(RemovePath(SystemPath("unknown.txt").c_str()));
}

// A click queued before the worker disabled its button: what would start a second run or
// change the table, the haves or the options under the running one does nothing.
TEST(IsRefusedDuringScan, RefusesWhatWouldInterfereWithTheRunningScan) {
  for (int id : {IDC_LOAD, IDC_RENAME, IDC_SCAN, IDC_MOVE, IDC_SAVE_LISTS, IDC_RESET_HAVES,
                 IDC_INCLUDE_OPTIONS, IDC_NAMING_OPTIONS, IDC_RENAMING_OPTIONS})
    EXPECT_TRUE(IsRefusedDuringScan(id)) << id;
  for (int id : {IDC_SHOW_ALL, IDC_SHOW_HAVE, IDC_SHOW_MISS, CMD_SCAN_FINISHED})
    EXPECT_FALSE(IsRefusedDuringScan(id)) << id;
}

TEST(IsSafeName, RefusesWhatCouldLeaveTheFolderOrNameADevice) {
  for (const std::string& name :
       List("..\\escaped; ../escaped; sub/name; ..; .; CON; nul.txt; Com1; lpt9.gba; a:b; C:; "
            "what?; a*b; a<b; a>b; a|b; a\"b; tab\there; \\\\server\\share; AUX .txt; CONIN$; "
            "conout$.gba; COM\xB9; lpt\xB3.zip; prn"))
    EXPECT_FALSE(IsSafeName(name.c_str())) << name;
  for (const std::string& name : List("Fine; ...; a.b; CONSOLE; COM0; LPT10; nul-x; Com 1"))
    EXPECT_TRUE(IsSafeName(name.c_str())) << name;
}

#ifndef _WIN32  // paths this long need more than Windows' classic path limit to create
TEST_F(ScanTest, FolderListAndTargetsKeepToTheirLimits) {
  // A 259-character source and a 255-character sub-folder make 515 characters: too long for a
  // folder-list entry, so that folder is passed over rather than entered under a cut path.
  std::string s(259 - SystemPath("src/").size(), 's'), source = "src/" + s;
  Run({"", "Scan FROM=" + source, "",
       source + "/top.gba=T; " + source + "/" + std::string(255, 'd') + "/x.gba=D"});
  EXPECT_EQ((std::vector<int>{100}), window_.progress());
  EXPECT_EQ(List("unknown.txt: Unkown Rom @\\src\\" + s + "\\top.gba"), ScanLogs(dir()));

  // A target one character longer than its 1024-byte buffer is refused, never cut: the "\."
  // padding makes the cut path a real place where a cut move would land.
  std::string dest = SystemPath("dest"), path = SystemPath("src/g.gba");
  while (dest.size() < 900) dest += "\\.";
  for (bool fits : {true, false}) {
    std::string name((fits ? 1023 : 1024) - dest.size() - strlen("\\.gba"), 'G');
    MakeScanCase({"", "Rename", name + "=A", "src/g.gba=A"}, dir());
    ScanFile file = {path.c_str(), "g.gba", "gba", false, ""};
    ScanOutputs out;
    PlaceFile(0, file, dest.c_str(), ScanMode::kRename, out);
    EXPECT_EQ(std::vector<std::string>{fits ? "dest/" + name + ".gba=A" : "src/g.gba=A"},
              ScanTree(dir()));
    EXPECT_EQ(fits ? 0u : 1u, ScanLogs(dir()).size());
  }

  // The source and at most 8095 sub-folders. The same code on both builds; making 8100
  // folders under Wine takes 40 s.
  ScanCase c = {"", "Scan NOLOG", "Top=T", "src/top.gba=T"};
  for (int i = 0; i < kMaxFolders + 3; ++i) c.files += "; src/f" + std::to_string(i) + "/x=";
  Run(c);
  EXPECT_EQ(static_cast<size_t>(kMaxFolders), window_.progress().size());
  EXPECT_EQ(1, g_roms[0].have);
}
#endif
