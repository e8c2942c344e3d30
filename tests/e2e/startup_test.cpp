// Start-up, loading and closing as the window shows them: a start without a database and one
// from an INI file with the list it shows, Load with its file dialog cancelled, the INI written
// at close, and what the main window must ignore.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

class StartupTest : public ProgramTest {
 protected:
  // A path in the work folder of length characters whose name ends in tail.
  std::string Sized(size_t length, const std::string& tail) const {
    return Work(std::string(length - Work("").size() - tail.size() - 1, 'p') + tail);
  }
  Lines Fields() const {
    return {app_.Text(IDC_DATABASE_FIELD), app_.Text(IDC_SOURCE_FIELD), app_.Text(IDC_DEST_FIELD)};
  }
};

// An INI whose database path is one character too long for its field: the path is passed
// over, never cut, as is the source's; the load's message, only Load usable, and the INI's
// options and the destination of 259 characters still written back at close. Enter and
// Escape reach the window as IDOK and IDCANCEL and must not close it. Any process may send the
// message that runs the scan's pending task on the UI thread; what it carries is never run
// (here the address of ExitProcess).
TEST_F(StartupTest, AStartWithoutADatabaseKeepsTheOptionsAndIgnoresStrayMessages) {
  const std::string dest = Sized(259, "dest");
  WriteFile(Prog("qvxgba.ini"), "DB=" + Sized(260, "gba.zip") + "\r\nSRC=" + Sized(260, "src") +
                                    "\r\nDEST=" + dest + "\r\nNUM=1\r\nLOG=1\r\nTYPE=2\r\n");
  ASSERT_TRUE(app_.Start(Prog("tarnwick.exe"), folder_.System()));
  EXPECT_TRUE(app_.Answer("Database Error", "Unable To Load Dat File!"));
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_EQ(Of(app_, &Dialog::Enabled, kControls), Ids{IDC_LOAD});
  EXPECT_TRUE(app_.Checked(IDC_SHOW_ALL));
  // Counters and rows come from one refresh: "0 (0)" means an empty list.
  EXPECT_EQ(Counters(), (Lines{"0 (0)", "0", "0"}));
  EXPECT_EQ(Fields(), (Lines{"", "", dest}));
  const LPARAM exit_process =
      reinterpret_cast<LPARAM>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitProcess"));
  SendBounded(app_.window(), WM_COMMAND, IDOK, 0);
  SendBounded(app_.window(), WM_COMMAND, IDCANCEL, 0);
  SendBounded(app_.window(), WM_APP + 1, 0, exit_process);
  ASSERT_TRUE(app_.Sync());
  EXPECT_TRUE(IsWindowVisible(app_.window()));
  ASSERT_TRUE(app_.Close());
  EXPECT_EQ(SavedIni(), IniText("", "", dest, "NUM=1\nNAME=0\n", "LOG=1\nTYPE=2\n"));
}

// The controls, the list and the counters as the window shows them, the list named by the
// INI's options; the list through the show filter, SaveLists, Reset Haves, and Load with its
// file dialog cancelled, which reads the named database and the haves file again. The INI is
// written back at close. Paths of 259 characters fill their fields and come back whole; a
// destination of 260 is passed over.
TEST_F(StartupTest, AStartFromTheIniShowsTheListAndWritesTheIniBack) {
  const std::string db = Sized(259, "gba.zip"), src = Sized(259, "src");
  ASSERT_TRUE(CopyFileA(Work("gba.zip").c_str(), db.c_str(), TRUE));
  WriteFile(Prog("qvxgba.db"), HavesOf(roms_, {0, 2}));
  ASSERT_TRUE(Launch({"DB=" + db, "SRC=" + src, "DEST=" + Sized(260, "dest"), "NUM=1", "IncBeta=1",
                      "LOG=1", "SUB=1", "TYPE=2"}));
  EXPECT_EQ(Of(app_, &Dialog::Enabled, kControls), Ids(kControls.begin(), kControls.end() - 3));
  EXPECT_EQ(Fields(), (Lines{db, src, ""}));
  const Lines rows = {"0001Alpha Quest (E)", "0002Beta Blaster (U)", "0003Comet Racer (J)",
                      "0004Delta Force (U)"};
  ASSERT_TRUE(app_.Press(IDC_SAVE_LISTS));
  EXPECT_TRUE(app_.Answer("Save", "Saved Logs!"));
  EXPECT_TRUE(FileExists(Prog("GBA Vellum Miss.txt")));
  // After the save, so the counters also show that saving left ownership alone. The rows show
  // that the radio buttons are one group: the refresh reads them.
  for (auto [button, shown] : {std::pair(IDC_SHOW_HAVE, Lines{rows[0], rows[2]}),
                               {IDC_SHOW_ALL, rows},
                               {IDC_SHOW_MISS, {rows[1], rows[3]}}}) {
    ASSERT_TRUE(app_.Click(button));
    EXPECT_EQ(app_.Rows(), shown) << button;
    EXPECT_EQ(Counters(), (Lines{"4 (5)", "2", "2"})) << button;
  }
  // The list is refreshed by the same call that sets the counters.
  ASSERT_TRUE(app_.Click(IDC_RESET_HAVES));
  EXPECT_FALSE(FileExists(Prog("qvxgba.db")));
  EXPECT_EQ(Counters(), (Lines{"4 (5)", "0", "4"}));

  WriteFile(Prog("qvxgba.db"), HavesOf(roms_, {1}));
  ASSERT_TRUE(app_.Press(IDC_LOAD));
  ASSERT_TRUE(app_.CancelFileDialog());
  // The load runs in the command that opened the file dialog: it is over once the window
  // answers again.
  ASSERT_TRUE(app_.Sync());
  EXPECT_TRUE(app_.Checked(IDC_SHOW_ALL));
  EXPECT_EQ(Counters(), (Lines{"4 (5)", "1", "3"}));
  ASSERT_TRUE(app_.Close());
  EXPECT_EQ(SavedIni(),
            IniText(db, src, "", "NUM=1\nNAME=0\n", "LOG=1\nSUB=1\nTYPE=2\n", "IncBeta=1\n"));
}

TEST_F(StartupTest, AnIniThatCannotBeWrittenIsReportedAndTheProgramStillEnds) {
  // A folder where the INI would go can be neither read nor replaced.
  ASSERT_TRUE(CreateDirectoryA(Prog("qvxgba.ini").c_str(), nullptr));
  ASSERT_TRUE(Launch({}));
  PostMessageA(app_.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(app_.Answer("Save Error", "Error Saving Ini!"));
  EXPECT_TRUE(app_.WaitExit());
}

}  // namespace
}  // namespace e2e
