// The three option dialogs: their boxes and captions, what they show on opening, which boxes
// can be changed, what a close applies to the list at once and to the INI, and the main window
// while one is open.
#include "e2e/e2e_support.h"
#include "ui/win32/resource.h"

namespace e2e {
namespace {

using OptionsTest = ProgramTest;

// Each dialog shows its boxes under their captions with the options it was opened with, the
// boxes it cannot change included, applies what it shows to the list when closed, and reads
// back its disabled boxes too. While it is open the main window is disabled and not closed,
// and Enter and Escape do not end the dialog.
TEST_F(OptionsTest, EachDialogShowsAndReadsBackItsBoxes) {
  const std::string db = "DB=" + Work("gba.zip");
  struct Row {
    int button;
    const char* caption;
    Lines ini;
    Ids boxes;
    Lines captions;  // of the boxes
    Ids disabled, checked, clicks;
    // Once the dialog is closed: the first row and the known counter; at exit: the INI's
    // naming, renaming and include blocks.
    Lines list_after, saved;
  } rows[] = {
      {IDC_INCLUDE_OPTIONS,
       "Roms To include/Exclude",
       {db, "IncAlt=1"},
       {IDC_INC_ALT, IDC_INC_BETA, IDC_INC_DEVKIT, IDC_INC_HARDWARE, IDC_INC_PIRATE,
        IDC_INC_PNES_HACKS, IDC_INC_PRE_TRAINED, IDC_INC_SCENE},
       {"Include Alternative Dumps", "Include Beta Dumps", "Include Nintendo Devkit Demos",
        "Include Hardware Dumps", "Include Pirate Dumps", "Include PocketNES Hack Pirate Dumps",
        "Include Pre-trained Scene Dumps", "Include Intro'ed Scene Dumps"},
       {},
       {IDC_INC_ALT},
       {IDC_INC_BETA, IDC_INC_HARDWARE},
       {"Alpha Quest (E)", "5 (5)"},
       {"NAME=0\n", "TYPE=0\n", "IncAlt=1\nIncBeta=1\nIncHardware=1\n"}},
      // A NAME no radio button stands for checks none, names nothing and is kept.
      {IDC_NAMING_OPTIONS,
       "Naming Options",
       {db, "NAME=5", "PUB=1", "CODE=1"},
       {IDC_NAME_NORMAL, IDC_NAME_FRIENDLY, IDC_NAME_SCENE, IDC_NAMING_NUM, IDC_NAMING_GRP,
        IDC_NAMING_PUB, IDC_NAMING_CODE, IDC_NAMING_SIZE, IDC_NAMING_CRC},
       {"Normal Naming", "Friendly Naming", "Scene Release Naming", "Number Roms", "Include Group",
        "Include Publisher", "Include Game Code", "Include Size", "Include CRC"},
       {IDC_NAME_FRIENDLY, IDC_NAME_SCENE, IDC_NAMING_GRP, IDC_NAMING_PUB, IDC_NAMING_CODE},
       {IDC_NAMING_PUB, IDC_NAMING_CODE},
       {IDC_NAMING_NUM},
       {"0001", "2 (5)"},
       {"CODE=1\nNUM=1\nPUB=1\nNAME=5\n", "TYPE=0\n", ""}},
      // A TYPE no entry stands for selects none and is kept as -1.
      {IDC_RENAMING_OPTIONS,
       "Renaming Options",
       {db, "DELBAD=1", "INZIP=1", "TYPE=3"},
       {IDC_RENAMING_SUB, IDC_RENAMING_DELBAD, IDC_RENAMING_DELDUPE, IDC_RENAMING_FIX,
        IDC_RENAMING_INZIP, IDC_RENAMING_CLEAN, IDC_RENAMING_LOG},
       {"Use Sub Dirs", "Delete Bad Dumps", "Delete Dupes Folder", "Fix Roms", "Rename In Zips",
        "Clean Zips", "Log Errors"},
       {IDC_RENAMING_DELBAD, IDC_RENAMING_DELDUPE, IDC_RENAMING_FIX, IDC_RENAMING_INZIP,
        IDC_RENAMING_CLEAN},
       {IDC_RENAMING_DELBAD, IDC_RENAMING_INZIP},
       {IDC_RENAMING_LOG, IDC_RENAMING_SUB},
       {"Alpha Quest (E)", "2 (5)"},
       {"NAME=0\n", "DELBAD=1\nLOG=1\nINZIP=1\nSUB=1\nTYPE=-1\n", ""}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.caption);
    ASSERT_TRUE(Launch(row.ini));
    ASSERT_TRUE(app_.Press(row.button));
    Dialog dialog;
    ASSERT_TRUE(app_.WaitUntil(row.caption, [&] {
      return IsWindowVisible((dialog = Dialog(FindWindowA("#32770", row.caption))).window());
    }));
    for (size_t i = 0; i < row.boxes.size(); ++i)
      EXPECT_EQ(dialog.Text(row.boxes[i]), row.captions[i]);
    EXPECT_EQ(Of(dialog, &Dialog::Checked, row.boxes), row.checked);
    for (int id : row.disabled) EXPECT_FALSE(dialog.Click(id)) << id;
    // The renaming type list is usable only with "Use Sub Dirs" checked.
    EXPECT_FALSE(dialog.Enabled(IDC_RENAMING_TYPE));
    for (int id : row.clicks) ASSERT_TRUE(dialog.Click(id));
    EXPECT_EQ(dialog.Enabled(IDC_RENAMING_TYPE), row.button == IDC_RENAMING_OPTIONS);
    SendBounded(dialog.window(), WM_COMMAND, IDOK, 0);
    SendBounded(dialog.window(), WM_COMMAND, IDCANCEL, 0);
    SendBounded(app_.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app_.Sync());
    EXPECT_TRUE(IsWindowVisible(dialog.window()) && !IsWindowEnabled(app_.window()))
        << "Enter, Escape or closing the main window ended the dialog";
    PostMessageA(dialog.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app_.WaitUntil("the option dialog to close", [&] {
      return !IsWindow(dialog.window()) && IsWindowEnabled(app_.window());
    }));
    // The list refresh after the close runs once the main window is enabled again.
    ASSERT_TRUE(app_.Sync());
    EXPECT_EQ((Lines{app_.Rows().at(0), Counters().at(0)}), row.list_after);
    ASSERT_TRUE(app_.Close());
    EXPECT_EQ(SavedIni(),
              IniText(Work("gba.zip"), "", "", row.saved[0], row.saved[1], row.saved[2]));
  }
}

}  // namespace
}  // namespace e2e
