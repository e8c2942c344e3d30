// Scan and Rename started from the window (Move is the option tests', into each sub-folder
// type), a run that cannot start, and a scan long enough to use the window and to close it
// while the scan runs.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

using ScanTest = ProgramTest;

// What moved where and what is owned, or for a run that cannot start why, with nothing
// touched; either way every command is given back and the list refreshed.
TEST_F(ScanTest, ScanAndRenamePlaceTheCollectionOrSayWhyTheyCannot) {
  const Lines untouched = {"a.gba", "b.zip", "mystery.gba"},
              sorted = {"Europe/", "Europe/Alpha Quest (E).gba", "USA/",
                        "USA/Beta Blaster (U).zip"};
  struct Row {
    int command;
    Lines options;        // after the paths, so a path given again replaces them
    const char* message;  // "Done!" in the box "Scan", else the text of "Scan Error"
    Lines src_after, dest_after;
    std::vector<int> owned;
  } rows[] = {{IDC_SCAN, {}, "Done!", untouched, {}, {0, 1}},
              {IDC_RENAME, {"SUB=1", "TYPE=1"}, "Done!", {"mystery.gba"}, sorted, {0, 1}},
              {IDC_RENAME, {"DEST=gone"}, "Destination Path Not Found!", untouched, {}, {}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message + std::to_string(row.command));
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

    const bool done = !row.owned.empty();
    ASSERT_TRUE(app_.Press(row.command));
    ASSERT_TRUE(app_.Answer(done ? "Scan" : "Scan Error", row.message, kScanWaitMs));
    ASSERT_TRUE(app_.WaitIdle());
    EXPECT_EQ(Of(app_, &Dialog::Enabled, kScanLocked), kScanLocked);
    EXPECT_EQ(app_.Query(IDC_PROGRESS, PBM_GETPOS), done ? 100 : 0);
    EXPECT_EQ(Counters(), (Lines{"2 (5)", done ? "2" : "0", done ? "0" : "2"}));
    ASSERT_TRUE(app_.Close());
    EXPECT_EQ(Tree(collection / "src"), row.src_after);
    EXPECT_EQ(Tree(collection / "dest"), row.dest_after);
    EXPECT_EQ(ReadFile(Prog("qvxgba.db")), HavesOf(roms_, row.owned));
  }
}

// The scan meets the two releases first, then hard links to one large unknown image: a long
// read at the cost of writing the image once. A click queued before the worker disabled its
// button arrives during the scan: it must not load, save, reset, open a dialog or start a
// second scan under it (SaveLists would show a box and so not return). The show filter works,
// and closing ends the program without waiting for the scan.
TEST_F(ScanTest, DuringAScanOnlyTheShowFilterAndClosingWork) {
  ASSERT_TRUE(CreateDirectoryA(Work("src").c_str(), nullptr) &&
              CreateDirectoryA(Work("dest").c_str(), nullptr));
  WriteFile(Work("src\\a1.gba"), images_[0]);
  WriteFile(Work("src\\a2.gba"), images_[1]);
  WriteFile(Work("big.gba"), Image(42, 16 << 20));
  for (int i = 100; i < 700; ++i)
    ASSERT_TRUE(CreateHardLinkA(Work("src\\z" + std::to_string(i) + ".gba").c_str(),
                                Work("big.gba").c_str(), nullptr));
  ASSERT_TRUE(Launch({"DB=" + Work("gba.zip"), "SRC=" + Work("src"), "DEST=" + Work("dest"),
                      "IncBeta=1", "LOG=1"}));
  ASSERT_TRUE(app_.Press(IDC_SCAN));
  const std::string scanning = std::string(kIdleTitle) + " - Scanning Roms";
  ASSERT_TRUE(app_.WaitUntil("the scan past its known ROMs", [&] {
    return app_.Title() == scanning && ReadFile(Prog("qvxgba.db")).size() == 16;
  }));
  EXPECT_EQ(Of(app_, &Dialog::Enabled, kScanLocked), Ids{});
  ASSERT_TRUE(app_.Click(IDC_SHOW_MISS));
  EXPECT_EQ(app_.Rows(), (Lines{"Comet Racer (J)", "Delta Force (U)"}));
  for (int id : Ids(kControls.begin(), kControls.begin() + 9)) {
    // Sent: a command that opened a dialog or a message box would not return.
    ASSERT_TRUE(SendBounded(app_.window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(app_.window(), id)), 5000))
        << id << " did not return: " << app_.Describe();
  }
  Sleep(300);  // a second run, had one started, would reach the known ROMs by now
  ASSERT_TRUE(app_.Title() == scanning && app_.Query(IDC_PROGRESS, PBM_GETPOS) < 100)
      << "the scan ended too soon";

  DWORD started = GetTickCount();
  ASSERT_TRUE(app_.Close());
  EXPECT_LT(GetTickCount() - started, 2000u) << "the close waited for the scan";
  EXPECT_EQ(ReadFile(Prog("qvxgba.db")), HavesOf(roms_, {0, 1}));
  // A second scan would have logged the owned ROMs as copies; a Rename or Move, moved them.
  EXPECT_FALSE(FileExists(Prog("multifiles.txt")));
  EXPECT_EQ(Tree(work_ / "dest"), Lines{});
}

}  // namespace
}  // namespace e2e
