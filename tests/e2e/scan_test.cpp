// Scan, Rename and Move started from the window on generated collections: what the window
// shows during and after, what moved where, the haves file, the logs, and the error exits.
#include <windows.h>

#include "app/controls.h"
#include "e2e/e2e_support.h"
#include "support/fixtures.h"

namespace e2e {

class ScanTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    roms_ = FiveRoms();
    WriteDatabase(WorkFile("gba.zip"), roms_);
    ASSERT_TRUE(CreateDirectoryA(Src().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Dest().c_str(), nullptr));
  }

  std::string Src(const std::string& name = "") const {
    return name.empty() ? WorkFile("src") : WorkFile("src\\" + name);
  }
  std::string Dest(const std::string& name = "") const {
    return name.empty() ? WorkFile("dest") : WorkFile("dest\\" + name);
  }
  // The program folder's log files.
  std::string Log(const char* name) const { return ReadTextFile(ProgramFile(name)); }

  // After a scan: every command usable again, the idle title, the bar at its end.
  void ExpectScanOver() {
    EXPECT_EQ(EnabledOf(kScanLocked), kScanLocked);
    EXPECT_EQ(app_.Title(), kIdleTitle);
    EXPECT_EQ(app_.Progress(), 100);
  }

  std::vector<Rom> roms_;
};

// Scan only reports: the files stay, ownership is recorded, names and oddities are logged.
TEST_F(ScanTest, ScanRecordsOwnershipAndLogsWithoutTouchingFiles) {
  WriteRomZip(Src("Alpha Quest (E).zip"), {{"alpha.gba", roms_[0].image}});
  WriteFile(Src("beta.gba"), roms_[1].image);
  WriteFile(Src("broken.zip"), "not an archive");
  WriteFile(Src("copy of alpha.gba"), roms_[0].image);
  WriteFile(Src("mystery.gba"), Image(99, 700));
  WriteFile(Src("readme.txt"), "not a ROM");
  WriteRomZip(Src("two.zip"), {{"a.gba", roms_[3].image}, {"b.gba", roms_[4].image}});
  ASSERT_TRUE(CreateDirectoryA(Src("sub").c_str(), nullptr));
  WriteFile(Src("sub\\comet.GBA"), roms_[2].image);
  ASSERT_TRUE(CreateDirectoryA(Src("sub\\deeper").c_str(), nullptr));
  WriteFile(Src("sub\\deeper\\delta.gba"), roms_[3].image);  // below the one level scanned
  // System folders are passed over, in any case; RECYCLER is not one of them.
  for (const char* folder : {"recycled", "System Volume Information", "RECYCLER"})
    ASSERT_TRUE(CreateDirectoryA(Src(folder).c_str(), nullptr)) << folder;
  WriteFile(Src("recycled\\delta.gba"), roms_[3].image);
  WriteFile(Src("System Volume Information\\delta.gba"), roms_[3].image);
  WriteFile(Src("RECYCLER\\echo.gba"), roms_[4].image);
  std::vector<std::string> before = ListFolder(Src());
  WriteIniFor(WorkFile("gba.zip"), Src(), "", {"LOG=1"});

  ASSERT_TRUE(Launch());
  EXPECT_FALSE(app_.Enabled(IDC_SAVE_LISTS));
  ASSERT_TRUE(RunScan(IDC_SCAN));
  ExpectScanOver();

  EXPECT_EQ(ListFolder(Src()), before);
  EXPECT_EQ(ListFolder(Src("sub")), (std::vector<std::string>{"comet.GBA", "deeper\\"}));
  EXPECT_TRUE(ListFolder(Dest()).empty());
  // Folders in the order listed: the source, recycled (passed over), RECYCLER, sub.
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1, 4, 2}));
  EXPECT_EQ(Log("wrongnames.txt"),
            Lines({"File beta has wrong name: right: Beta Blaster (U)",
                   "File echo has wrong name: right: Echo Drive (E)",
                   "File comet.GBA has wrong name: right: Comet Racer (J)"}));
  EXPECT_EQ(Log("multifiles.txt"),
            Lines({"Multiple Copies of Alpha Quest (E) Found (original file: copy of alpha.gba)"}));
  EXPECT_EQ(Log("unknown.txt"), Lines({"Unkown Rom " + Src("mystery.gba")}));
  EXPECT_EQ(Log("multifilezip.txt"),
            Lines({"More than one rom found in " + Src("two.zip") + " skipping"}));
  EXPECT_FALSE(FileExists(ProgramFile("notmoved.txt")));
  // The owned beta and hardware dump are listed although not included; nothing included is
  // missing.
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)",
                                                   "Comet Racer (J)", "Echo Drive (E)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "4", "0"}));
  EXPECT_TRUE(app_.Enabled(IDC_SAVE_LISTS));

  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(ReadTextFile(scratch_ / "stdout.txt"), "FUCKED ZIP = " + Src("broken.zip") + "\n");
}

// Rename: database names, sub-folders by country, duplicates placed under their proper name
// while it is free and into Dupes once it is taken, and a taken target left alone.
TEST_F(ScanTest, RenamePlacesFilesUnderTheirDatabaseNamesInCountryFolders) {
  WriteRomZip(Src("a.ZIP"), {{"readme.txt", "hello"}, {"x.gba", roms_[0].image}});
  WriteFile(Src("b.GBA"), roms_[1].image);
  WriteFile(Src("c.gba"), roms_[0].image);
  WriteRomZip(Src("d.zip"), {{"y.gba", roms_[0].image}});
  WriteFile(Src("e.gba"), roms_[3].image);
  ASSERT_TRUE(CreateDirectoryA(Dest("USA").c_str(), nullptr));
  WriteFile(Dest("USA\\Delta Force (U).gba"), "the user's own file");
  WriteIniFor(WorkFile("gba.zip"), Src(), Dest(), {"LOG=1", "SUB=1", "TYPE=1"});

  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_RENAME));
  ExpectScanOver();

  EXPECT_EQ(ListFolder(Src()), std::vector<std::string>{"e.gba"});
  EXPECT_EQ(ListFolder(Dest()), (std::vector<std::string>{"Dupes\\", "Europe\\", "USA\\"}));
  EXPECT_EQ(ListFolder(Dest("Europe")),
            (std::vector<std::string>{"Alpha Quest (E).gba", "Alpha Quest (E).zip"}));
  EXPECT_EQ(ListFolder(Dest("USA")),
            (std::vector<std::string>{"Beta Blaster (U).gba", "Delta Force (U).gba"}));
  EXPECT_EQ(ListFolder(Dest("Dupes")),
            std::vector<std::string>{"DUPE-Alpha Quest (E) (d.zip).zip"});
  // Moved whole, and nothing overwritten.
  EXPECT_EQ(ReadFile(Dest("USA\\Beta Blaster (U).gba")), roms_[1].image);
  EXPECT_EQ(ReadFile(Dest("Europe\\Alpha Quest (E).gba")), roms_[0].image);
  EXPECT_EQ(ReadFile(Dest("USA\\Delta Force (U).gba")), "the user's own file");
  EXPECT_EQ(ReadFile(Src("e.gba")), roms_[3].image);

  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1, 3}));
  EXPECT_EQ(Log("multifiles.txt"),
            Lines({"Multiple Copies of Alpha Quest (E) Found (original file: c.gba)",
                   "Multiple Copies of Alpha Quest (E) Found (original file: d.zip)"}));
  EXPECT_EQ(Log("notmoved.txt"), Lines({"Unable To move file e.gba"}));
  EXPECT_FALSE(FileExists(ProgramFile("wrongnames.txt")));
  EXPECT_EQ(ShownCounters(), (Counters{"3 (5)", "3", "0"}));
  EXPECT_TRUE(CloseProgram());
}

// Move keeps the files' own names; a duplicate goes to Dupes unless its name is taken there.
// With LOG off the program folder gets no log at all.
TEST_F(ScanTest, MoveKeepsNamesSendsDuplicatesToDupesAndWritesNoLogsWithLogOff) {
  WriteFile(Src("x1.gba"), roms_[0].image);
  WriteRomZip(Src("x2.zip"), {{"x.gba", roms_[1].image}});
  WriteFile(Src("x3.gba"), roms_[0].image);
  WriteFile(Src("x4.gba"), roms_[1].image);
  WriteFile(Src("x5.gba"), Image(77, 100));
  ASSERT_TRUE(CreateDirectoryA(Dest("Dupes").c_str(), nullptr));
  WriteFile(Dest("Dupes\\x4.gba"), "an older duplicate");
  WriteIniFor(WorkFile("gba.zip"), Src(), Dest());

  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_MOVE));
  ExpectScanOver();

  EXPECT_EQ(ListFolder(Src()), (std::vector<std::string>{"x4.gba", "x5.gba"}));
  EXPECT_EQ(ListFolder(Dest()), (std::vector<std::string>{"Dupes\\", "x1.gba", "x2.zip"}));
  EXPECT_EQ(ListFolder(Dest("Dupes")), (std::vector<std::string>{"x3.gba", "x4.gba"}));
  EXPECT_EQ(ReadFile(Dest("Dupes\\x4.gba")), "an older duplicate");
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1}));
  EXPECT_EQ(ListFolder(folder_.path()),
            (std::vector<std::string>{"qvxgba.db", "qvxgba.ini", "tarnwick.exe"}));
  EXPECT_EQ(ShownCounters(), (Counters{"2 (5)", "2", "0"}));
  EXPECT_TRUE(CloseProgram());
}

// A scan that cannot start gives its message, touches nothing, and gives every command back
// (SaveLists too, with nothing owned).
TEST_F(ScanTest, ErrorExitsReportAndGiveTheCommandsBack) {
  struct Row {
    const char* name;
    std::string src, dest;
    int command;
    const char* message;
  } rows[] = {
      {"Scan, no source", "", Dest(), IDC_SCAN, "No Source Path Selected!"},
      {"Move, no source", "", "", IDC_MOVE, "No Source Path Selected!"},
      {"Rename, no destination", Src(), "", IDC_RENAME, "No Destination Path Selected!"},
      {"Move, no destination", Src(), "", IDC_MOVE, "No Destination Path Selected!"},
      {"Scan, missing source", WorkFile("gone"), Dest(), IDC_SCAN, "Unable To Read Files In Dir!"},
      {"Move, missing destination", Src(), WorkFile("gone"), IDC_MOVE,
       "Destination Path Not Found!"},
  };
  WriteFile(Src("a.gba"), roms_[0].image);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteIniFor(WorkFile("gba.zip"), row.src, row.dest, {"LOG=1"});
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(RunScan(row.command, "Scan Error", row.message));
    EXPECT_EQ(EnabledOf(kScanLocked), kScanLocked);
    EXPECT_EQ(app_.Title(), kIdleTitle);
    EXPECT_EQ(ShownCounters(), (Counters{"2 (5)", "0", "2"}));
    ASSERT_TRUE(CloseProgram());
    EXPECT_EQ(ListFolder(Src()), std::vector<std::string>{"a.gba"});
    EXPECT_EQ(ListFolder(folder_.path()), (std::vector<std::string>{"qvxgba.ini", "tarnwick.exe"}));
  }
  // Scan needs no destination.
  WriteIniFor(WorkFile("gba.zip"), Src(), "");
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_SCAN));
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0}));
  EXPECT_TRUE(CloseProgram());
}

// With the source as its own destination, each file is renamed once, a name that differs only
// in case included; a renamed file met again later in the folder is not a duplicate.
TEST_F(ScanTest, RenameInPlaceRenamesEachFileOnce) {
  WriteFile(Src("alpha quest (e).gba"), roms_[0].image);
  WriteFile(Src("b.gba"), roms_[1].image);
  WriteRomZip(Src("c.zip"), {{"c.gba", roms_[2].image}});
  WriteIniFor(WorkFile("gba.zip"), Src(), Src(), {"LOG=1"});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_RENAME));
  EXPECT_EQ(ListFolder(Src()),
            (std::vector<std::string>{"Alpha Quest (E).gba", "Beta Blaster (U).gba",
                                      "Comet Racer (J).zip"}));
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1, 2}));
  EXPECT_FALSE(FileExists(ProgramFile("multifiles.txt")));
  EXPECT_FALSE(FileExists(ProgramFile("notmoved.txt")));
  EXPECT_TRUE(CloseProgram());
}

// A source without files runs to its end; the bar is not moved.
TEST_F(ScanTest, AnEmptySourceRunsToDone) {
  WriteIniFor(WorkFile("gba.zip"), Src(), Dest(), {"LOG=1"});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_MOVE));
  EXPECT_EQ(app_.Progress(), 0);
  EXPECT_EQ(ShownCounters(), (Counters{"2 (5)", "0", "2"}));
  EXPECT_TRUE(CloseProgram());
  EXPECT_EQ(ListFolder(folder_.path()), (std::vector<std::string>{"qvxgba.ini", "tarnwick.exe"}));
}

// Drive roots keep their one separator: as the source (C:\ is listed from C:\*, without a "."
// entry of its own) and as the destination (C:\name, not C:\\name). The names at the root
// are this test's own and are removed again.
TEST_F(ScanTest, DriveRootsAsSourceAndDestination) {
  char unique[64];
  snprintf(unique, sizeof unique, "tarnwick-e2e-%lu-%lu", GetCurrentProcessId(), GetTickCount());
  const std::string at_root = std::string("C:\\") + unique + ".gba";
  const std::string renamed = std::string("C:\\") + unique + " renamed.gba";
  struct Remove {
    std::vector<std::string> paths;
    ~Remove() {
      for (const std::string& path : paths) DeleteFileA(path.c_str());
    }
  } remove{{at_root, renamed}};
  std::vector<Rom> roms = {{std::string(unique) + " renamed", "0001", "Roms", Image(31, 500)}};
  WriteDatabase(WorkFile("root.zip"), roms);

  WriteFile(at_root, Image(32, 600));
  WriteIniFor(WorkFile("root.zip"), "C:\\", "", {"LOG=1"});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_SCAN));
  ASSERT_TRUE(CloseProgram());
  std::string unknown = Log("unknown.txt");
  EXPECT_NE(unknown.find("Unkown Rom " + at_root + "\n"), std::string::npos) << unknown;
  EXPECT_FALSE(FileExists(ProgramFile("multifiles.txt")));

  WriteFile(Src("a.gba"), roms[0].image);
  WriteIniFor(WorkFile("root.zip"), Src(), "C:\\", {"LOG=1"});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(RunScan(IDC_RENAME));
  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(ReadFile(renamed), roms[0].image);
  EXPECT_TRUE(ListFolder(Src()).empty());
}

// Two scan commands queued before the first worker has disabled the buttons start one scan.
TEST_F(ScanTest, AScanCommandQueuedTwiceRunsOnce) {
  WriteFile(Src("a.gba"), roms_[0].image);
  WriteIniFor(WorkFile("gba.zip"), Src(), "", {"LOG=1"});
  ASSERT_TRUE(Launch());
  HWND scan = GetDlgItem(app_.main(), IDC_SCAN);
  for (int i = 0; i < 2; ++i)
    PostMessageA(app_.main(), WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(scan));
  ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
  ASSERT_TRUE(app_.WaitIdle());
  ASSERT_TRUE(app_.Sync());
  EXPECT_TRUE(app_.NoMessageBox());
  // A second scan would have found the ROM owned and logged a copy.
  EXPECT_FALSE(FileExists(ProgramFile("multifiles.txt")));
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0}));
  EXPECT_TRUE(CloseProgram());
}

}  // namespace e2e
