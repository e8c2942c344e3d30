// Start-up, loading and closing as the window shows them: the first start, a start from an
// INI file, loads that fail, Load with its file dialog cancelled, and the INI written at close.
#include <functional>

#include "app/controls.h"
#include "e2e/e2e_support.h"
#include "support/fixtures.h"

namespace e2e {
namespace {

// Every control that can be enabled, apart from the never-enabled path fields.
const std::vector<int> kAllCommands = {
    IDC_LOAD,       IDC_RENAME,  IDC_SCAN,     IDC_MOVE,     IDC_PICK_SOURCE,     IDC_PICK_DEST,      IDC_SAVE_LISTS,
    IDC_RESET_HAVES, IDC_SHOW_ALL, IDC_SHOW_HAVE, IDC_SHOW_MISS, IDC_INCLUDE_OPTIONS, IDC_NAMING_OPTIONS, IDC_RENAMING_OPTIONS};

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
    EXPECT_EQ(EnabledOf(kAllCommands), std::vector<int>{IDC_LOAD});
    for (int field : {IDC_DATABASE_FIELD, IDC_SOURCE_FIELD, IDC_DEST_FIELD})
      EXPECT_FALSE(app_.Enabled(field)) << field;
    EXPECT_TRUE(app_.Checked(IDC_SHOW_ALL));
    EXPECT_FALSE(app_.Checked(IDC_SHOW_HAVE));
    EXPECT_FALSE(app_.Checked(IDC_SHOW_MISS));
    EXPECT_EQ(ShownCounters(), (Counters{"0 (0)", "0", "0"}));
    EXPECT_TRUE(app_.Rows().empty());
    EXPECT_EQ(app_.Title(), kIdleTitle);
  }
};

TEST_F(StartupTest, FirstStartShowsAnEmptyWindowAndWritesDefaultsAtClose) {
  ASSERT_TRUE(Launch());
  ExpectNoDatabase();
  for (int field : {IDC_DATABASE_FIELD, IDC_SOURCE_FIELD, IDC_DEST_FIELD})
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
  EXPECT_EQ(app_.Text(IDC_DATABASE_FIELD), WorkFile("gba.zip"));
  EXPECT_EQ(app_.Text(IDC_SOURCE_FIELD), WorkFile("src=1"));
  EXPECT_EQ(app_.Text(IDC_DEST_FIELD), WorkFile("dest"));
  EXPECT_EQ(EnabledOf(kAllCommands), kAllCommands);  // SaveLists too: a ROM is owned
  EXPECT_TRUE(app_.Checked(IDC_SHOW_ALL));
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

// A database that cannot be loaded at start-up: its own message, the paths and options kept
// (so the close writes them back), and only Load usable.
TEST_F(StartupTest, FailedLoadFromIniShowsItsMessageAndKeepsPathsAndOptions) {
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
    EXPECT_EQ(app_.Text(IDC_DATABASE_FIELD), db);
    EXPECT_EQ(app_.Text(IDC_SOURCE_FIELD), WorkFile("src"));
    ASSERT_TRUE(CloseProgram());
    EXPECT_EQ(ReadTextFile(ProgramFile("qvxgba.ini")),
              Lines({"# QVX GBA v0.3a INI", "", "# Paths", "", "DB=" + db,
                     "SRC=" + WorkFile("src"), "DEST=", "", "# Naming Options", "", "NUM=1",
                     "NAME=0", "", "# Renaming Options", "", "LOG=1", "TYPE=2", "",
                     "# IncludeList", ""}));
  }
}

TEST_F(StartupTest, LoadWithTheDialogCancelledAndNoDatabaseNamedFails) {
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.Press(IDC_LOAD));
  ASSERT_TRUE(app_.CancelFileDialog());
  EXPECT_TRUE(app_.Answer("Database Error", "Unable To Load Dat File!"));
  ASSERT_TRUE(app_.WaitIdle());
  ExpectNoDatabase();
  EXPECT_EQ(app_.Text(IDC_DATABASE_FIELD), "");
  EXPECT_TRUE(CloseProgram());
}

TEST_F(StartupTest, LoadWithTheDialogCancelledReadsTheNamedDatabaseAgain) {
  std::vector<Rom> roms = FiveRoms();
  WriteDatabase(WorkFile("gba.zip"), roms);
  WriteIni({"DB=" + WorkFile("gba.zip")});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.ClickRadio(IDC_SHOW_MISS));
  // The haves file written since the start is read by the reload.
  WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms, {1, 4}));

  ASSERT_TRUE(app_.Press(IDC_LOAD));
  ASSERT_TRUE(app_.CancelFileDialog());
  ASSERT_TRUE(app_.Sync());
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_TRUE(app_.Checked(IDC_SHOW_ALL));
  EXPECT_FALSE(app_.Checked(IDC_SHOW_MISS));
  EXPECT_EQ(app_.Text(IDC_DATABASE_FIELD), WorkFile("gba.zip"));
  EXPECT_EQ(app_.Rows(),
            (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)", "Echo Drive (E)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"3 (5)", "2", "1"}));
  EXPECT_TRUE(app_.Enabled(IDC_SAVE_LISTS));
  EXPECT_TRUE(CloseProgram());
}

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

// A dat longer than the table: the table fills up and the rest is ignored. A loading title
// names a record as it is read, under the default naming: the INI's options come after the
// load. The titles change at most every 30 ms, so a fast load may show none to a poll; that
// the first record is always named is proven by the loader's own tests.
TEST_F(StartupTest, AFullTableLoadsNamingRecordsInTheTitle) {
  std::vector<Rom> roms;
  for (int i = 0; i < 8100; ++i) {
    char number[8];
    snprintf(number, sizeof number, "%04d", i);
    roms.push_back({"Game " + std::to_string(10000 + i), number, "Roms", std::to_string(i)});
  }
  WriteDatabase(WorkFile("gba.zip"), roms);
  WriteIniFor(WorkFile("gba.zip"), "", "", {"NUM=1"});

  ASSERT_TRUE(Start());
  const std::string loading = "Tarnwick GBA v0.3a - Loading Dat - ";
  int loading_titles = 0;
  std::string wrong_title;
  ASSERT_TRUE(app_.WaitUntil(
      "the loaded table",
      [&] {
        std::string title = app_.Title();
        if (title.compare(0, loading.size(), loading) == 0) {
          ++loading_titles;
          std::string name = title.substr(loading.size());
          if (name.size() != 10 || name.compare(0, 6, "Game 1") != 0) wrong_title = title;
        }
        return IsWindowVisible(app_.main()) && title == kIdleTitle;
      },
      30000));
  EXPECT_EQ(wrong_title, "") << "of " << loading_titles << " loading titles seen";

  EXPECT_EQ(ShownCounters(), (Counters{"8096 (8096)", "0", "8096"}));
  ASSERT_EQ(app_.RowCount(), 8096);
  EXPECT_EQ(app_.Row(0), "0000Game 10000");
  EXPECT_EQ(app_.Row(8095), "8095Game 18095");
  EXPECT_TRUE(CloseProgram());
}

// A load that fails after a good one leaves nothing of the old table, and takes the
// commands away again, SaveLists included.
TEST_F(StartupTest, AFailedLoadEmptiesTheWindowOfTheDatabaseBefore) {
  std::vector<Rom> roms = FiveRoms();
  WriteDatabase(WorkFile("gba.zip"), roms);
  WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms, {0}));
  WriteIni({"DB=" + WorkFile("gba.zip")});
  ASSERT_TRUE(Launch());
  ASSERT_TRUE(app_.Enabled(IDC_SAVE_LISTS));
  ASSERT_EQ(app_.Rows().size(), 2u);

  WriteFile(WorkFile("gba.zip"), "damaged");
  ASSERT_TRUE(app_.Press(IDC_LOAD));
  ASSERT_TRUE(app_.CancelFileDialog());
  EXPECT_TRUE(app_.Answer("Database Error", "Unable To Load Dat File!"));
  ASSERT_TRUE(app_.WaitIdle());
  ExpectNoDatabase();
  EXPECT_EQ(ReadFile(ProgramFile("qvxgba.db")), HavesOf(roms, {0}));
  EXPECT_TRUE(CloseProgram());
}

// Any process on the desktop can send the main window the message that runs a task of the
// scan on the UI thread. What it carries is never run: neither an address of code (here
// ExitProcess, which would end the program) nor a value that is no code at all.
TEST_F(StartupTest, AForeignRunTaskMessageRunsNothing) {
  ASSERT_TRUE(Launch());
  const LPARAM exit_process = reinterpret_cast<LPARAM>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitProcess"));
  for (LPARAM foreign : {exit_process, static_cast<LPARAM>(1)}) {
    LRESULT ignored = 0;
    SendBounded(app_.main(), WM_APP + 1, 0, foreign, &ignored, 5000);
    ASSERT_TRUE(app_.Running()) << "the message ran " << foreign;
    ASSERT_TRUE(app_.Sync());
  }
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_TRUE(CloseProgram());
}

// Every control carries its caption under its number.
TEST_F(StartupTest, ControlsCarryTheirCaptions) {
  const std::vector<std::pair<int, const char*>> main_captions = {
      {IDC_LOAD, "Load"},
      {IDC_PICK_SOURCE, "Pick"},
      {IDC_PICK_DEST, "Pick"},
      {IDC_RESET_HAVES, "Reset Haves"},
      {IDC_RENAME, "Rename"},
      {IDC_SCAN, "Scan"},
      {IDC_MOVE, "Move"},
      {IDC_SAVE_LISTS, "SaveLists"},
      {IDC_INCLUDE_OPTIONS, "Include/Exclude List"},
      {IDC_NAMING_OPTIONS, "Naming Options"},
      {IDC_RENAMING_OPTIONS, "Renaming Options"},
      {IDC_SHOW_ALL, "Show All"},
      {IDC_SHOW_HAVE, "Show Have"},
      {IDC_SHOW_MISS, "Show Miss"},
      {IDC_PROGRESS_GROUP, "Progress"}};
  struct Dialog {
    int button;
    const char* caption;
    std::vector<std::pair<int, const char*>> controls;
  } dialogs[] = {
      {IDC_INCLUDE_OPTIONS,
       "Roms To include/Exclude",
       {{1023, "Include Alternative Dumps"},
        {1024, "Include Beta Dumps"},
        {1025, "Include Nintendo Devkit Demos"},
        {1026, "Include Hardware Dumps"},
        {1027, "Include Pirate Dumps"},
        {1028, "Include PocketNES Hack Pirate Dumps"},
        {1029, "Include Pre-trained Scene Dumps"},
        {1030, "Include Intro'ed Scene Dumps"}}},
      {IDC_NAMING_OPTIONS,
       "Naming Options",
       {{1055, "Normal Naming"},
        {1056, "Friendly Naming"},
        {1057, "Scene Release Naming"},
        {1012, "Number Roms"},
        {1035, "Include Group"},
        {1052, "Include Publisher"},
        {1023, "Include Game Code"},
        {1036, "Include Size"},
        {1037, "Include CRC"}}},
      {IDC_RENAMING_OPTIONS,
       "Renaming Options",
       {{1010, "Use Sub Dirs"},
        {1011, "Delete Bad Dumps"},
        {1012, "Delete Dupes Folder"},
        {1023, "Fix Roms"},
        {1027, "Rename In Zips"},
        {1028, "Clean Zips"},
        {1038, "Log Errors"}}},
  };
  WriteDatabase(WorkFile("gba.zip"), FiveRoms());
  WriteIni({"DB=" + WorkFile("gba.zip")});
  ASSERT_TRUE(Launch());
  for (const auto& control : main_captions)
    EXPECT_EQ(app_.Text(control.first), control.second) << control.first;
  for (const Dialog& dialog : dialogs) {
    OptionDialog window;
    ASSERT_TRUE(app_.OpenOptions(dialog.button, dialog.caption, &window));
    for (const auto& control : dialog.controls)
      EXPECT_EQ(window.Text(control.first), control.second)
          << dialog.caption << ": " << control.first;
    ASSERT_TRUE(app_.CloseOptions(&window));
  }
  EXPECT_TRUE(CloseProgram());
}

}  // namespace e2e
