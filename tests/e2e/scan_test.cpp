// Scan, Rename and Move started from the window: one run of each mode, the runs that cannot
// start, and a scan long enough to use the window and to close it while the scan runs.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

using ScanTest = ProgramTest;

// What moved where, ownership, and the window given back with the list refreshed.
TEST_F(ScanTest, EachModePlacesTheCollection) {
  struct Row {
    int command;
    Lines options, src_after, dest_after;
  } rows[] = {{IDC_SCAN, {}, {"a.gba", "b.zip", "mystery.gba"}, {}},
              {IDC_RENAME,
               {"SUB=1", "TYPE=1"},
               {"mystery.gba"},
               {"Europe/", "Europe/Alpha Quest (E).gba", "USA/", "USA/Beta Blaster (U).zip"}},
              {IDC_MOVE, {}, {"mystery.gba"}, {"a.gba", "b.zip"}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    TempFolder collection;
    const std::string src = collection.System("src"), dest = collection.System("dest");
    ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr) && CreateDirectoryA(dest.c_str(), nullptr));
    WriteFile(src + "\\a.gba", images_[0]);
    WriteZip(src + "\\b.zip", {{"x.gba", images_[1]}});
    WriteFile(src + "\\mystery.gba", Image(99, 700));
    DeleteFileA(Prog("qvxgba.db").c_str());
    Lines ini = {"DB=" + Work("gba.zip"), "SRC=" + src, "DEST=" + dest};
    ini.insert(ini.end(), row.options.begin(), row.options.end());
    ASSERT_TRUE(Launch(ini));

    ASSERT_TRUE(RunScan(row.command, "Scan", "Done!"));
    EXPECT_EQ(Of(app_, &Dialog::Enabled, kScanLocked), kScanLocked);
    EXPECT_EQ(app_.Query(IDC_PROGRESS, PBM_GETPOS), 100);
    EXPECT_EQ(Counters(), (Lines{"2 (5)", "2", "0"}));
    ASSERT_TRUE(app_.Close());
    EXPECT_EQ(Tree(collection / "src"), row.src_after);
    EXPECT_EQ(Tree(collection / "dest"), row.dest_after);
    EXPECT_EQ(ReadFile(Prog("qvxgba.db")), HavesOf(roms_, {0, 1}));
  }
}

// A run that cannot start says why, touches nothing and gives every command back.
TEST_F(ScanTest, ARunThatCannotStartSaysWhy) {
  struct Row {
    int command;
    std::string src, dest, message;
  } rows[] = {{IDC_SCAN, "", "", "No Source Path Selected!"},
              {IDC_RENAME, work_.System(), Work("gone"), "Destination Path Not Found!"},
              {IDC_MOVE, work_.System(), Work("gone"), "Destination Path Not Found!"}};
  WriteFile(Work("a.gba"), images_[0]);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    ASSERT_TRUE(Launch({"DB=" + Work("gba.zip"), "SRC=" + row.src, "DEST=" + row.dest}));
    // These come at once; a wait as long as a scan's would only delay a failure.
    ASSERT_TRUE(RunScan(row.command, "Scan Error", row.message, 5000));
    EXPECT_EQ(Of(app_, &Dialog::Enabled, kScanLocked), kScanLocked);
    ASSERT_TRUE(app_.Close());
    EXPECT_EQ(Tree(work_.path()), (Lines{"a.gba", "gba.zip"}));
    EXPECT_FALSE(FileExists(Prog("qvxgba.db")));
  }
}

// The scan meets the two releases first, then hard links to one large unknown image: a long
// read at the cost of writing the image once. A click queued before the worker disabled its
// button arrives during the scan: it must not load, save, reset, open a dialog or start a
// second scan under it. The show filter works, and closing saves the settings and ends the
// program without waiting for the scan.
TEST_F(ScanTest, DuringAScanOnlyTheShowFilterAndClosingWork) {
  ASSERT_TRUE(CreateDirectoryA(Work("src").c_str(), nullptr));
  WriteFile(Work("src\\a1.gba"), images_[0]);
  WriteFile(Work("src\\a2.gba"), images_[1]);
  WriteFile(Work("big.gba"), Image(42, 16 << 20));
  for (int i = 100; i < 160; ++i) {
    std::string link = Work("src\\z" + std::to_string(i) + ".gba");
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), Work("big.gba").c_str(), nullptr)) << link;
  }
  ASSERT_TRUE(
      Launch({"DB=" + Work("gba.zip"), "SRC=" + Work("src"), "DEST=", "IncBeta=1", "LOG=1"}));
  ASSERT_TRUE(app_.Press(IDC_SCAN));
  const std::string scanning = std::string(kIdleTitle) + " - Scanning Roms";
  ASSERT_TRUE(app_.WaitUntil("the scan past its known ROMs", [&] {
    return app_.Title() == scanning && ReadFile(Prog("qvxgba.db")).size() == 16;
  }));
  EXPECT_EQ(Of(app_, &Dialog::Enabled, kScanLocked), Ids{});
  ASSERT_TRUE(app_.Click(IDC_SHOW_HAVE));
  EXPECT_EQ(app_.Rows(), (Lines{"Alpha Quest (E)", "Beta Blaster (U)"}));
  ASSERT_TRUE(app_.Click(IDC_SHOW_MISS));
  EXPECT_EQ(app_.Rows(), (Lines{"Comet Racer (J)", "Delta Force (U)"}));
  for (int id : {IDC_LOAD, IDC_SAVE_LISTS, IDC_RESET_HAVES, IDC_INCLUDE_OPTIONS, IDC_NAMING_OPTIONS,
                 IDC_RENAMING_OPTIONS, IDC_RENAME, IDC_SCAN, IDC_MOVE}) {
    // Sent: a command that opened a dialog or a message box would not return.
    ASSERT_TRUE(SendBounded(app_.window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(app_.window(), id)), 5000))
        << id << " did not return: " << app_.Describe();
  }
  ASSERT_TRUE(app_.Title() == scanning && app_.Query(IDC_PROGRESS, PBM_GETPOS) < 100)
      << "the scan ended too soon";

  DWORD started = GetTickCount();
  ASSERT_TRUE(app_.Close());
  EXPECT_LT(GetTickCount() - started, 2000u) << "the close waited for the scan";
  EXPECT_EQ(SavedIni(), IniText(Work("gba.zip"), Work("src"), "", "NAME=0\n", "LOG=1\nTYPE=0\n",
                                "IncBeta=1\n"));
  EXPECT_EQ(ReadFile(Prog("qvxgba.db")), HavesOf(roms_, {0, 1}));
  // A second scan would have logged the owned ROMs as copies.
  EXPECT_FALSE(FileExists(Prog("multifiles.txt")));
  EXPECT_FALSE(FileExists(Prog("GBA Vellum Have.txt")));
}

}  // namespace
}  // namespace e2e
