// The ROM list, its show filter and counters, Reset Haves and SaveLists, driven through the
// window with ownership taken from a haves file.
#include "app/controls.h"
#include "e2e/e2e_support.h"
#include "support/fixtures.h"

namespace e2e {

class ListTest : public ProgramTest {
 protected:
  // The database of five ROMs with betas included, the first and the third owned.
  void SetUp() override {
    ProgramTest::SetUp();
    roms_ = FiveRoms();
    WriteDatabase(WorkFile("gba.zip"), roms_);
    WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms_, {0, 2}));
    WriteIniFor(WorkFile("gba.zip"), "", "", {"IncBeta=1"});
  }

  std::vector<Rom> roms_;
};

TEST_F(ListTest, ShowFilterChangesTheRowsButNeverTheCounters) {
  ASSERT_TRUE(Launch());
  const Counters counters = {"4 (5)", "2", "2"};
  struct Row {
    int button;
    std::vector<std::string> rows;
  } rows[] = {
      {IDC_SHOW_HAVE, {"Alpha Quest (E)", "Comet Racer (J)"}},
      {IDC_SHOW_MISS, {"Beta Blaster (U)", "Delta Force (U)"}},
      {IDC_SHOW_ALL, {"Alpha Quest (E)", "Beta Blaster (U)", "Comet Racer (J)", "Delta Force (U)"}},
  };
  EXPECT_EQ(app_.Rows(), rows[2].rows);
  EXPECT_EQ(ShownCounters(), counters);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.button);
    ASSERT_TRUE(app_.ClickRadio(row.button));
    for (int button : kShowFilter) EXPECT_EQ(app_.Checked(button), button == row.button);
    EXPECT_EQ(app_.Rows(), row.rows);
    EXPECT_EQ(ShownCounters(), counters);
  }
  EXPECT_TRUE(CloseProgram());
}

TEST_F(ListTest, ResetHavesForgetsOwnershipAndKeepsSaveListsUsable) {
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.Enabled(IDC_SAVE_LISTS));
  ASSERT_TRUE(app_.ClickRadio(IDC_SHOW_MISS));
  ASSERT_TRUE(app_.Click(IDC_RESET_HAVES));
  EXPECT_TRUE(app_.NoMessageBox());  // no question asked
  EXPECT_FALSE(FileExists(ProgramFile("qvxgba.db")));
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)",
                                                   "Comet Racer (J)", "Delta Force (U)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "0", "4"}));
  EXPECT_TRUE(app_.Enabled(IDC_SAVE_LISTS));
  ASSERT_TRUE(app_.ClickRadio(IDC_SHOW_HAVE));
  EXPECT_TRUE(app_.Rows().empty());
  EXPECT_TRUE(CloseProgram());
}

// The lists come out sorted by name, or by number with NUM on, whatever the dat's order; an
// owned ROM outside the included set is in the have list, a missing one in neither.
// A list that cannot be opened is reported. The have list is opened first, so a blocked have
// list leaves the miss list alone, while a blocked miss list finds the have list emptied.
TEST_F(ListTest, SaveListsThatCannotOpenAListSaysSo) {
  struct Row {
    const char* blocked;
    const char* other;
    const char* message;
    std::string other_after;
  } rows[] = {{"GBA Vellum Have.txt", "GBA Vellum Miss.txt", "Unable To Open Have List!",
               "the last list\r\n"},
              {"GBA Vellum Miss.txt", "GBA Vellum Have.txt", "Unable To Open Miss List!", ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.blocked);
    TempFolder program;
    ASSERT_TRUE(
        CopyFileA(ProgramFile("tarnwick.exe").c_str(), (program / "tarnwick.exe").c_str(), TRUE));
    WriteFile(program / "qvxgba.db", HavesOf(roms_, {0}));
    WriteIniFile(program / "qvxgba.ini", {"DB=" + WorkFile("gba.zip")});
    WriteFile(program / row.other, "the last list\r\n");
    // A folder of the list's name cannot be opened as a file.
    ASSERT_TRUE(CreateDirectoryA((program / row.blocked).c_str(), nullptr));

    ASSERT_TRUE(app_.Start(program / "tarnwick.exe", program.path(), scratch_ / "stdout.txt"));
    ASSERT_TRUE(app_.WaitIdle());
    ASSERT_TRUE(app_.Press(IDC_SAVE_LISTS));
    EXPECT_TRUE(app_.Answer("Save Error", row.message));
    ASSERT_TRUE(app_.WaitIdle());
    EXPECT_EQ(ReadFile(program / row.other), row.other_after);
    EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)"}));
    EXPECT_TRUE(CloseProgram());
  }
}

class SaveListsTest : public ProgramTest {};

TEST_F(SaveListsTest, WritesBothListsSortedWithTheirCounts) {
  const std::vector<Rom> roms = {{"Zeta Run (E)", "0003", "Roms", Image(11, 900)},
                                 {"alpha Jump (U)", "0010", "Roms", Image(12, 900)},
                                 {"Mid Game (J)", "0002", "Beta", Image(13, 900)},
                                 {"Beta Dash (E)", "0001", "Roms", Image(14, 900)},
                                 {"Gamma Beta (E)", "0009", "Beta", Image(15, 900)}};
  const char kHaveHeader[] =
      " You have 2 of 4 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) Roms";
  const char kMissHeader[] =
      " You are missing 2 of 4 known Nintendo Gameboy Advance Vellum Project (QVXGBA v0.3a) Roms";
  struct Row {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::string> have, miss;
  } rows[] = {
      {"by name", {}, {"Mid Game (J)", "Zeta Run (E)"}, {"alpha Jump (U)", "Beta Dash (E)"}},
      {"by number",
       {"NUM=1"},
       {"0002Mid Game (J)", "0003Zeta Run (E)"},
       {"0001Beta Dash (E)", "0010alpha Jump (U)"}},
  };
  WriteDatabase(WorkFile("gba.zip"), roms);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms, {0, 2}));
    // Old lists are replaced, not added to.
    WriteFile(ProgramFile("GBA Vellum Have.txt"), "an old list\r\nwith lines\r\n");
    WriteIniFor(WorkFile("gba.zip"), "", "", row.options);
    ASSERT_TRUE(Launch());
    std::vector<std::string> shown = app_.Rows();

    ASSERT_TRUE(app_.Press(IDC_SAVE_LISTS));
    EXPECT_TRUE(app_.Answer("Save", "Saved Logs!"));
    ASSERT_TRUE(app_.WaitIdle());
    std::vector<std::string> have = {kHaveHeader, ""}, miss = {kMissHeader, ""};
    have.insert(have.end(), row.have.begin(), row.have.end());
    miss.insert(miss.end(), row.miss.begin(), row.miss.end());
    EXPECT_EQ(ReadTextFile(ProgramFile("GBA Vellum Have.txt")), Lines(have));
    EXPECT_EQ(ReadTextFile(ProgramFile("GBA Vellum Miss.txt")), Lines(miss));
    // The table was sorted in place; the window shows the same as before.
    EXPECT_EQ(app_.Rows(), shown);
    EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "2", "2"}));
    EXPECT_TRUE(CloseProgram());
  }
}

}  // namespace e2e
