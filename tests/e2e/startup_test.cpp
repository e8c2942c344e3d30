// Start-up, loading and closing as the window shows them: the first start, a start from an
// INI file, loads that fail, Load with its file dialog cancelled, and the INI written at close.
#include <functional>

#include "e2e/e2e_support.h"
#include "fakes/test_support.h"

namespace e2e {
namespace {

// Every control that can be enabled, apart from the never-enabled path fields.
const std::vector<int> kAllCommands = {
    kLoad,       kRename,  kScan,     kMove,     kPickSource,     kPickDest,      kSaveLists,
    kResetHaves, kShowAll, kShowHave, kShowMiss, kIncludeOptions, kNamingOptions, kRenamingOptions};

const std::vector<std::string> kDefaultIniTail = {"", "# Naming Options",   "", "NAME=0",
                                                  "", "# Renaming Options", "", "TYPE=0",
                                                  "", "# IncludeList",      ""};

std::vector<std::string> IniText(const std::string& db, const std::string& src,
                                 const std::string& dest) {
  std::vector<std::string> lines = {
      "# QVX GBA v0.3a INI", "", "# Paths", "", "DB=" + db, "SRC=" + src, "DEST=" + dest};
  lines.insert(lines.end(), kDefaultIniTail.begin(), kDefaultIniTail.end());
  return lines;
}

}  // namespace

class StartupTest : public ProgramTest {
 protected:
  // Only Load usable, nothing listed, every figure 0, the path fields never enabled.
  void ExpectNoDatabase() {
    EXPECT_EQ(EnabledOf(kAllCommands), std::vector<int>{kLoad});
    for (int field : {kDatabaseField, kSourceField, kDestField})
      EXPECT_FALSE(app_.Enabled(field)) << field;
    EXPECT_TRUE(app_.Checked(kShowAll));
    EXPECT_FALSE(app_.Checked(kShowHave));
    EXPECT_FALSE(app_.Checked(kShowMiss));
    EXPECT_EQ(ShownCounters(), (Counters{"0 (0)", "0", "0"}));
    EXPECT_TRUE(app_.Rows().empty());
    EXPECT_EQ(app_.Title(), kIdleTitle);
  }
};

TEST_F(StartupTest, FirstStartShowsAnEmptyWindowAndWritesDefaultsAtClose) {
  ASSERT_TRUE(Launch());
  ExpectNoDatabase();
  for (int field : {kDatabaseField, kSourceField, kDestField})
    EXPECT_EQ(app_.Text(field), "") << field;
  EXPECT_EQ(app_.Progress(), 0);
  EXPECT_FALSE(FileExists(ProgramFile("qvxgba.db")));

  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(ReadTextFile(ProgramFile("qvxgba.ini")), Lines(IniText("", "", "")));
  EXPECT_EQ(ListFolder(folder_.path()), (std::vector<std::string>{"qvxgba.ini", "tarnwick.exe"}));
}

TEST_F(StartupTest, IniLoadsTheDatabaseRestoresOptionsAndIsWrittenBackAtClose) {
  std::vector<Rom> roms = FiveRoms();
  WriteDatabase(WorkFile("gba.zip"), roms);
  WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms, {0}));
  // A user's file named like the loader's scratch file, in the current directory.
  WriteFile(ProgramFile("temp"), "not the program's");
  WriteIni({"# hand-written", "DB=" + WorkFile("gba.zip"), "SRC=" + WorkFile("src=1"),
            "DEST=" + WorkFile("old"), "DEST=" + WorkFile("dest"), "NUM=1", "CRC=0", "IncBeta=1",
            "LOG=1", "SUB=1", "TYPE=2", "size=1", " GRP=1", "NAME=0"});

  ASSERT_TRUE(Launch());
  EXPECT_EQ(app_.Text(kDatabaseField), WorkFile("gba.zip"));
  EXPECT_EQ(app_.Text(kSourceField), WorkFile("src=1"));
  EXPECT_EQ(app_.Text(kDestField), WorkFile("dest"));
  EXPECT_EQ(EnabledOf(kAllCommands), kAllCommands);  // SaveLists too: a ROM is owned
  EXPECT_TRUE(app_.Checked(kShowAll));
  // NUM and CRC restored (a key with any value turns its flag on), betas included; the
  // lower-case and indented keys restore nothing.
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"0001Alpha Quest (E) (" + roms[0].Crc() + ")",
                                                   "0002Beta Blaster (U) (" + roms[1].Crc() + ")",
                                                   "0003Comet Racer (J) (" + roms[2].Crc() + ")",
                                                   "0004Delta Force (U) (" + roms[3].Crc() + ")"}));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "1", "3"}));
  EXPECT_EQ(ReadFile(ProgramFile("temp")), "not the program's");

  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(ReadTextFile(ProgramFile("qvxgba.ini")), Lines({"# QVX GBA v0.3a INI",
                                                            "",
                                                            "# Paths",
                                                            "",
                                                            "DB=" + WorkFile("gba.zip"),
                                                            "SRC=" + WorkFile("src=1"),
                                                            "DEST=" + WorkFile("dest"),
                                                            "",
                                                            "# Naming Options",
                                                            "",
                                                            "CRC=1",
                                                            "NUM=1",
                                                            "NAME=0",
                                                            "",
                                                            "# Renaming Options",
                                                            "",
                                                            "LOG=1",
                                                            "SUB=1",
                                                            "TYPE=2",
                                                            "",
                                                            "# IncludeList",
                                                            "",
                                                            "IncBeta=1"}));
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms, {0}));
}

// A database that cannot be loaded at start-up: its own message, the paths kept, the options
// not restored (so the close writes the defaults), and only Load usable.
TEST_F(StartupTest, FailedLoadFromIniShowsItsMessageAndRestoresOnlyThePaths) {
  struct Row {
    const char* name;
    const char* db_file;  // in the work folder; empty: no DB line at all
    std::function<void(const std::string& path)> write;
    const char* message;
  } rows[] = {
      {"missing file", "gone.zip", [](const std::string&) {}, "Unable To Load Dat File!"},
      {"not a zip", "text.zip", [](const std::string& path) { WriteFile(path, "[QVXDAT]\r\n"); },
       "Unable To Load Dat File!"},
      {"read-me before the dat", "readme.zip",
       [](const std::string& path) {
         WriteZip(path, {{"readme.txt", "read me first\r\n"}, {"gba.dat", DatText(FiveRoms())}});
       },
       "Invalid Dat File!"},
      {"no DB line", "", [](const std::string&) {}, "Unable To Load Dat File!"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string db = *row.db_file ? WorkFile(row.db_file) : "";
    row.write(db);
    std::vector<std::string> ini = {"SRC=" + WorkFile("src"), "NUM=1", "LOG=1", "TYPE=2"};
    if (!db.empty()) ini.insert(ini.begin(), "DB=" + db);
    WriteIni(ini);

    ASSERT_TRUE(Start());
    EXPECT_TRUE(app_.Answer("Database Error", row.message));
    ASSERT_TRUE(app_.WaitIdle());
    ExpectNoDatabase();
    EXPECT_EQ(app_.Text(kDatabaseField), db);
    EXPECT_EQ(app_.Text(kSourceField), WorkFile("src"));
    ASSERT_TRUE(CloseProgram());
    EXPECT_EQ(ReadTextFile(ProgramFile("qvxgba.ini")), Lines(IniText(db, WorkFile("src"), "")));
  }
}

TEST_F(StartupTest, LoadWithTheDialogCancelledAndNoDatabaseNamedFails) {
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.Press(kLoad));
  ASSERT_TRUE(app_.CancelFileDialog());
  EXPECT_TRUE(app_.Answer("Database Error", "Unable To Load Dat File!"));
  ASSERT_TRUE(app_.WaitIdle());
  ExpectNoDatabase();
  EXPECT_EQ(app_.Text(kDatabaseField), "");
  EXPECT_TRUE(CloseProgram());
}

TEST_F(StartupTest, LoadWithTheDialogCancelledReadsTheNamedDatabaseAgain) {
  std::vector<Rom> roms = FiveRoms();
  WriteDatabase(WorkFile("gba.zip"), roms);
  WriteIni({"DB=" + WorkFile("gba.zip")});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.ClickRadio(kShowMiss));
  // The haves file written since the start is read by the reload.
  WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms, {1, 4}));

  ASSERT_TRUE(app_.Press(kLoad));
  ASSERT_TRUE(app_.CancelFileDialog());
  ASSERT_TRUE(app_.Sync());
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_TRUE(app_.Checked(kShowAll));
  EXPECT_FALSE(app_.Checked(kShowMiss));
  EXPECT_EQ(app_.Text(kDatabaseField), WorkFile("gba.zip"));
  EXPECT_EQ(app_.Rows(),
            (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)", "Echo Drive (E)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"3 (5)", "2", "1"}));
  EXPECT_TRUE(app_.Enabled(kSaveLists));
  EXPECT_TRUE(CloseProgram());
}

}  // namespace e2e

namespace e2e {

// Enter and Escape reach a dialog as the commands IDOK and IDCANCEL; the main window ignores
// both instead of closing.
TEST_F(StartupTest, EnterAndEscapeLeaveTheWindowOpen) {
  ASSERT_TRUE(Launch());
  for (int command : {IDOK, IDCANCEL}) {
    LRESULT ignored = 0;
    ASSERT_TRUE(SendBounded(app_.main(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0, &ignored));
    ASSERT_TRUE(app_.Sync());
    EXPECT_TRUE(app_.Running() && IsWindowVisible(app_.main())) << command;
    EXPECT_TRUE(app_.NoMessageBox());
  }
  EXPECT_TRUE(CloseProgram());
}

TEST_F(StartupTest, AnIniThatCannotBeWrittenIsReportedAndTheProgramStillEnds) {
  // A folder where the INI file would go: it can be neither read nor replaced.
  ASSERT_TRUE(CreateDirectoryA(ProgramFile("qvxgba.ini").c_str(), nullptr));
  ASSERT_TRUE(Launch());
  ExpectNoDatabase();
  app_.PostClose();
  EXPECT_TRUE(app_.Answer("Save Error", "Error Saving Ini!"));
  DWORD code = 1;
  ASSERT_TRUE(app_.WaitExit(&code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ListFolder(folder_.path()), (std::vector<std::string>{"qvxgba.ini\\", "tarnwick.exe"}));
}

}  // namespace e2e
