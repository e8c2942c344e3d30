// A scan long enough to act on while it runs: the window must stay responsive to the show
// filter, and closing it must save the settings and end the process without waiting.
#include "app/controls.h"
#include "e2e/e2e_support.h"
#include "support/fixtures.h"

namespace e2e {

class LongScanTest : public ProgramTest {
 protected:
  // Two known ROMs that the scan meets first, then many links to one large unknown image:
  // a long read for the scan at the cost of writing the image once.
  void MakeCollection(int links) {
    roms_ = FiveRoms();
    WriteDatabase(WorkFile("gba.zip"), roms_);
    ASSERT_TRUE(CreateDirectoryA(WorkFile("src").c_str(), nullptr));
    WriteFile(WorkFile("src\\a1.gba"), roms_[0].image);
    WriteFile(WorkFile("src\\a2.gba"), roms_[1].image);
    std::string image = WorkFile("big.gba");
    WriteFile(image, Image(42, 16 << 20));
    for (int i = 0; i < links; ++i) {
      std::string link = WorkFile("src\\z" + std::to_string(100 + i) + ".gba");
      ASSERT_TRUE(CreateHardLinkA(link.c_str(), image.c_str(), nullptr))
          << link << " (error " << GetLastError() << ")";
    }
    WriteIniFor(WorkFile("gba.zip"), WorkFile("src"), "", {"IncBeta=1", "LOG=1"});
  }

  bool Scanning() const { return app_.Title() == "Tarnwick GBA v0.3a - Scanning Roms"; }

  // Starts a Scan and waits until it has placed the two known ROMs and is reading on.
  ::testing::AssertionResult StartLongScan() {
    ::testing::AssertionResult step = app_.Press(IDC_SCAN);
    if (step) {
      step = app_.WaitUntil("the scan past its known ROMs", [&] {
        return Scanning() && FileExists(ProgramFile("qvxgba.db")) &&
               ReadFile(ProgramFile("qvxgba.db")).size() == 16;
      });
    }
    return step;
  }

  std::vector<Rom> roms_;
};

TEST_F(LongScanTest, ClosingDuringAScanSavesTheSettingsAndEnds) {
  MakeCollection(60);
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(StartLongScan());
  ASSERT_TRUE(app_.Progress() < 100) << "the scan was too short to close it while it ran";

  DWORD started = GetTickCount();
  DWORD code = 1;
  ASSERT_TRUE(app_.Close(&code));
  EXPECT_EQ(code, 0u);
  EXPECT_LT(GetTickCount() - started, 2000u) << "the close waited for the scan";
  std::string ini = ReadTextFile(ProgramFile("qvxgba.ini"));
  EXPECT_NE(ini.find("\nSRC=" + WorkFile("src") + "\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\nIncBeta=1\n"), std::string::npos) << ini;
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1}));
}

TEST_F(LongScanTest, ShowFilterWorksWhileTheScanRuns) {
  MakeCollection(30);
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(StartLongScan());
  for (int locked : kScanLocked) EXPECT_FALSE(app_.Enabled(locked)) << locked;

  ASSERT_TRUE(app_.ClickRadio(IDC_SHOW_HAVE));
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)"}));
  ASSERT_TRUE(app_.ClickRadio(IDC_SHOW_MISS));
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Comet Racer (J)", "Delta Force (U)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "2", "2"}));
  // Answered by the window while the worker was still reading.
  EXPECT_TRUE(Scanning()) << "the scan ended before the show filter was tried";

  ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_EQ(app_.Progress(), 100);
  EXPECT_TRUE(app_.Checked(IDC_SHOW_MISS));
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Comet Racer (J)", "Delta Force (U)"}));
  EXPECT_TRUE(CloseProgram());
}

// A click that reached the queue before the worker disabled its button arrives during the
// scan: none of these may load, save, reset, open a dialog or start a second scan under it.
TEST_F(LongScanTest, CommandsArrivingDuringTheScanDoNothing) {
  MakeCollection(40);
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(StartLongScan());
  for (int id : {IDC_LOAD, IDC_SAVE_LISTS, IDC_RESET_HAVES, IDC_INCLUDE_OPTIONS, IDC_NAMING_OPTIONS,
                 IDC_RENAMING_OPTIONS, IDC_RENAME, IDC_SCAN, IDC_MOVE}) {
    SCOPED_TRACE(id);
    // Sent, not posted: it returns only once the window has handled the command, and a
    // command that opened a file dialog, an option dialog or a message box would not return.
    LRESULT ignored = 0;
    ASSERT_TRUE(SendBounded(app_.main(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(app_.main(), id)), &ignored,
                            5000))
        << "the command did not return: " << app_.Describe();
    EXPECT_TRUE(app_.NoMessageBox());
    EXPECT_TRUE(app_.MainEnabled());
    EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1}));
  }
  EXPECT_TRUE(Scanning()) << "the scan ended before every command was tried";

  ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_TRUE(app_.NoMessageBox());
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms_, {0, 1}));
  // A second scan would have met the two ROMs owned and logged them as copies; saved lists
  // would be beside the program.
  EXPECT_FALSE(FileExists(ProgramFile("multifiles.txt")));
  EXPECT_FALSE(FileExists(ProgramFile("GBA Vellum Have.txt")));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "2", "2"}));
  EXPECT_TRUE(CloseProgram());
}

}  // namespace e2e
