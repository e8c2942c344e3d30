// The three option dialogs: what they show on opening, which boxes can be changed, what a
// close applies to the list at once, and what the INI file keeps of it.
#include "app/controls.h"
#include "e2e/e2e_support.h"
#include "support/fixtures.h"

namespace e2e {
namespace {

const char kInclusions[] = "Roms To include/Exclude";
const char kNaming[] = "Naming Options";
const char kRenaming[] = "Renaming Options";

// Naming Options controls.
enum { kNormal = 1055, kFriendly = 1056, kSceneNaming = 1057, kNumber = 1012, kGroup = 1035 };
enum { kPublisher = 1052, kCode = 1023, kSize = 1036, kCrc = 1037 };
// Renaming Options controls.
enum { kSubDirs = 1010, kTypeCombo = 1051, kDelBad = 1011, kDelDupe = 1012, kFix = 1023 };
enum { kInZip = 1027, kClean = 1028, kLogErrors = 1038 };

std::vector<int> DialogCheckedOf(const OptionDialog& dialog, const std::vector<int>& ids) {
  std::vector<int> checked;
  for (int id : ids)
    if (dialog.Checked(id)) checked.push_back(id);
  return checked;
}

std::vector<int> DialogEnabledOf(const OptionDialog& dialog, const std::vector<int>& ids) {
  std::vector<int> enabled;
  for (int id : ids)
    if (dialog.Enabled(id)) enabled.push_back(id);
  return enabled;
}

// The option lines of a written INI file, without the paths and comments.
std::vector<std::string> OptionLines(const std::string& ini) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = ini.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = ini.substr(start, end - start);
    if (line.empty() || line[0] == '#' || line.rfind("DB=", 0) == 0 || line.rfind("SRC=", 0) == 0 ||
        line.rfind("DEST=", 0) == 0)
      continue;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

class OptionsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    roms_ = FiveRoms();
    WriteDatabase(WorkFile("gba.zip"), roms_);
  }
  void LaunchWith(const std::vector<std::string>& options) {
    WriteIniFor(WorkFile("gba.zip"), "", "", options);
    ASSERT_TRUE(Launch());
  }
  std::vector<std::string> SavedOptions() {
    return OptionLines(ReadTextFile(ProgramFile("qvxgba.ini")));
  }

  std::vector<Rom> roms_;
};

TEST_F(OptionsTest, IncludeDialogAppliesItsBoxesToTheListAtOnce) {
  const std::vector<int> boxes = {1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030};
  LaunchWith({"IncAlt=1"});
  EXPECT_EQ(ShownCounters(), (Counters{"2 (5)", "0", "2"}));

  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_INCLUDE_OPTIONS, kInclusions, &dialog));
  EXPECT_FALSE(app_.MainEnabled());
  EXPECT_EQ(DialogEnabledOf(dialog, boxes), boxes);
  EXPECT_EQ(DialogCheckedOf(dialog, boxes), std::vector<int>{1023});
  ASSERT_TRUE(dialog.Click(1024));  // betas
  ASSERT_TRUE(dialog.Click(1026));  // hardware dumps
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  EXPECT_EQ(app_.Rows(),
            (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)", "Comet Racer (J)",
                                      "Delta Force (U)", "Echo Drive (E)"}));
  EXPECT_EQ(ShownCounters(), (Counters{"5 (5)", "0", "5"}));

  // Opened again it shows what was applied; taking hardware out again drops its ROM.
  ASSERT_TRUE(app_.OpenOptions(IDC_INCLUDE_OPTIONS, kInclusions, &dialog));
  EXPECT_EQ(DialogCheckedOf(dialog, boxes), (std::vector<int>{1023, 1024, 1026}));
  ASSERT_TRUE(dialog.Click(1026));
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  EXPECT_EQ(ShownCounters(), (Counters{"4 (5)", "0", "4"}));

  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(SavedOptions(),
            (std::vector<std::string>{"NAME=0", "TYPE=0", "IncAlt=1", "IncBeta=1"}));
}

// The main window takes no input while a dialog is open, and is not closed from under it.
// Only the close box ends a dialog: Enter and Escape do not.
TEST_F(OptionsTest, MainWindowWaitsForTheOpenDialog) {
  LaunchWith({});
  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_RENAMING_OPTIONS, kRenaming, &dialog));
  EXPECT_FALSE(app_.MainEnabled());
  for (int command : {IDOK, IDCANCEL}) {
    LRESULT ignored = 0;
    ASSERT_TRUE(
        SendBounded(dialog.window(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0, &ignored));
    EXPECT_TRUE(IsWindowVisible(dialog.window())) << command;
  }
  PostMessageA(app_.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(app_.Sync());
  EXPECT_TRUE(app_.Running());
  EXPECT_TRUE(IsWindow(dialog.window()));
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  EXPECT_TRUE(app_.MainEnabled());
  EXPECT_TRUE(CloseProgram());
}

TEST_F(OptionsTest, NamingDialogShowsTheNameTypeAndKeepsWhatItCannotChange) {
  const std::vector<int> controls = {kNormal,    kFriendly, kSceneNaming, kNumber, kGroup,
                                     kPublisher, kCode,     kSize,        kCrc};
  struct Row {
    const char* name_line;
    std::vector<int> checked;
    std::vector<std::string> rows;
  } rows[] = {
      {"NAME=0", {kNormal}, {"Alpha Quest (E)", "Beta Blaster (U)"}},
      {"NAME=1", {kFriendly, kGroup}, {"Alpha Quest (E) F (Grp)", "Beta Blaster (U) F (Grp)"}},
      {"NAME=2", {kSceneNaming, kGroup}, {"Alpha Quest (E) S (Grp)", "Beta Blaster (U) S (Grp)"}},
      // No radio button stands for 5, and nothing is named.
      {"NAME=5", {}, {"", ""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name_line);
    std::vector<std::string> options = {row.name_line};
    if (row.checked.size() > 1) options.push_back("GRP=1");
    LaunchWith(options);
    EXPECT_EQ(app_.Rows(), row.rows);

    OptionDialog dialog;
    ASSERT_TRUE(app_.OpenOptions(IDC_NAMING_OPTIONS, kNaming, &dialog));
    EXPECT_EQ(DialogEnabledOf(dialog, controls), (std::vector<int>{kNormal, kNumber, kSize, kCrc}));
    EXPECT_EQ(DialogCheckedOf(dialog, controls), row.checked);
    ASSERT_TRUE(app_.CloseOptions(&dialog));
    EXPECT_EQ(app_.Rows(), row.rows);
    ASSERT_TRUE(CloseProgram());
    std::vector<std::string> saved = {row.name_line, "TYPE=0"};
    if (row.checked.size() > 1) saved.insert(saved.begin(), "GRP=1");
    EXPECT_EQ(SavedOptions(), saved);
  }
  // From an unnamed value, Normal Naming can still be chosen.
  LaunchWith({"NAME=5"});
  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_NAMING_OPTIONS, kNaming, &dialog));
  ASSERT_TRUE(dialog.Click(kNormal));
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  EXPECT_EQ(app_.Rows(), (std::vector<std::string>{"Alpha Quest (E)", "Beta Blaster (U)"}));
  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(SavedOptions(), (std::vector<std::string>{"NAME=0", "TYPE=0"}));
}

TEST_F(OptionsTest, NamingOptionsChangeEveryRowButNotTheCounters) {
  WriteFile(ProgramFile("qvxgba.db"), HavesOf(roms_, {2}));
  LaunchWith({});
  const Counters counters = ShownCounters();
  EXPECT_EQ(counters, (Counters{"3 (5)", "1", "2"}));
  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_NAMING_OPTIONS, kNaming, &dialog));
  ASSERT_TRUE(dialog.Click(kCrc));
  ASSERT_TRUE(dialog.Click(kNumber));
  ASSERT_TRUE(dialog.Click(kSize));
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  EXPECT_EQ(app_.Rows(),
            (std::vector<std::string>{"0001Alpha Quest (E) (0mbit) (" + roms_[0].Crc() + ")",
                                      "0002Beta Blaster (U) (0mbit) (" + roms_[1].Crc() + ")",
                                      "0003Comet Racer (J) (0mbit) (" + roms_[2].Crc() + ")"}));
  EXPECT_EQ(ShownCounters(), counters);
  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(SavedOptions(),
            (std::vector<std::string>{"CRC=1", "NUM=1", "SIZE=1", "NAME=0", "TYPE=0"}));
}

TEST_F(OptionsTest, RenamingDialogEnablesTheTypeListWithSubDirs) {
  const std::vector<int> boxes = {kSubDirs, kDelBad, kDelDupe, kFix, kInZip, kClean, kLogErrors};
  LaunchWith({});
  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_RENAMING_OPTIONS, kRenaming, &dialog));
  EXPECT_EQ(dialog.ComboEntries(kTypeCombo),
            (std::vector<std::string>{"By Type", "By Country", "By Rom Size"}));
  EXPECT_EQ(DialogEnabledOf(dialog, boxes), (std::vector<int>{kSubDirs, kLogErrors}));
  EXPECT_TRUE(DialogCheckedOf(dialog, boxes).empty());
  EXPECT_FALSE(dialog.Enabled(kTypeCombo));
  EXPECT_EQ(dialog.ComboSelection(kTypeCombo), 0);

  ASSERT_TRUE(dialog.Click(kSubDirs));
  EXPECT_TRUE(dialog.Enabled(kTypeCombo));
  ASSERT_TRUE(dialog.ChooseComboEntry(kTypeCombo, 1));
  ASSERT_TRUE(dialog.Click(kSubDirs));
  EXPECT_FALSE(dialog.Enabled(kTypeCombo));
  EXPECT_EQ(dialog.ComboSelection(kTypeCombo), 1);  // the choice stays while disabled
  ASSERT_TRUE(dialog.Click(kSubDirs));
  ASSERT_TRUE(dialog.ChooseComboEntry(kTypeCombo, 2));
  ASSERT_TRUE(dialog.Click(kLogErrors));
  ASSERT_TRUE(app_.CloseOptions(&dialog));

  ASSERT_TRUE(app_.OpenOptions(IDC_RENAMING_OPTIONS, kRenaming, &dialog));
  EXPECT_EQ(DialogCheckedOf(dialog, boxes), (std::vector<int>{kSubDirs, kLogErrors}));
  EXPECT_TRUE(dialog.Enabled(kTypeCombo));
  EXPECT_EQ(dialog.ComboSelection(kTypeCombo), 2);
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(SavedOptions(), (std::vector<std::string>{"NAME=0", "LOG=1", "SUB=1", "TYPE=2"}));
}

// Options the program does not carry out are shown, cannot be changed, and are kept; a type
// that no entry stands for shows an empty list and is stored as -1.
TEST_F(OptionsTest, RenamingDialogKeepsBoxesItCannotChangeAndAnUnknownType) {
  const std::vector<int> boxes = {kSubDirs, kDelBad, kDelDupe, kFix, kInZip, kClean, kLogErrors};
  LaunchWith({"DELBAD=1", "INZIP=1", "SUB=1", "TYPE=3"});
  OptionDialog dialog;
  ASSERT_TRUE(app_.OpenOptions(IDC_RENAMING_OPTIONS, kRenaming, &dialog));
  EXPECT_EQ(DialogCheckedOf(dialog, boxes), (std::vector<int>{kSubDirs, kDelBad, kInZip}));
  EXPECT_EQ(DialogEnabledOf(dialog, boxes), (std::vector<int>{kSubDirs, kLogErrors}));
  EXPECT_TRUE(dialog.Enabled(kTypeCombo));
  EXPECT_EQ(dialog.ComboSelection(kTypeCombo), -1);
  ASSERT_TRUE(app_.CloseOptions(&dialog));
  ASSERT_TRUE(CloseProgram());
  EXPECT_EQ(SavedOptions(),
            (std::vector<std::string>{"NAME=0", "DELBAD=1", "INZIP=1", "SUB=1", "TYPE=-1"}));
}

}  // namespace e2e
