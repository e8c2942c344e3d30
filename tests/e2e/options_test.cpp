// The three option dialogs as a user meets them: each box, found by its caption, shows its
// option when the dialog opens, and what the dialog shows when it closes is the option: in
// the list, in the folder Move picks and in the INI written at close.
#include <algorithm>

#include "e2e/e2e_support.h"
#include "ui/win32/resource.h"

namespace e2e {
namespace {

// A check box; piece, when given, is in the list's rows exactly while the box's option is on.
struct Box {
  const char* caption;
  const char* key;
  std::string piece = "";
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class OptionsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // One ROM per category, each named by it, in the dat in the reverse of the list's order.
    const char* categories[] = {"Scene",    "Roms",        "PreTrained", "PnesHacks", "Pirate",
                                "Hardware", "DevKitDemos", "Beta",       "Alt"};
    roms_.clear();
    for (int i = 0; i < 9; ++i)
      roms_.push_back(RomOf(i == 1 ? kRomsImage : Image(i + 10, 100 + i),
                            categories[i] + std::string(" (U)"), std::to_string(1000 + i),
                            categories[i], "Grp"));
    ASSERT_TRUE(WriteDatabase(Work("gba.zip"), roms_));
  }

  // Launch k of a dialog: box i starts checked when bit k of i is set, so that over three
  // launches any two boxes differ. Opens the dialog, checks what it shows, clicks the first
  // `changeable` boxes (the others are disabled), leaves the rest to act, closes the
  // dialog and checks the list; after runs before the program closes, and the INI written
  // at close must hold what the dialog showed.
  void Run(int button, const char* title, const std::vector<Box>& boxes, size_t changeable, int k,
           Lines ini, const std::function<void(const Dialog&)>& act = nullptr,
           const std::function<void()>& after = nullptr) {
    SCOPED_TRACE(std::string(title) + " " + std::to_string(k));
    auto on = [&](size_t i) { return (i >> k & 1) != 0; };
    auto now = [&](size_t i) { return on(i) != (i < changeable); };
    for (size_t i = 0; i < boxes.size(); ++i)
      if (on(i)) ini.push_back(boxes[i].key + std::string("=1"));
    ASSERT_TRUE(Launch(ini));
    ASSERT_TRUE(app_.Press(button));
    ASSERT_TRUE(
        app_.WaitUntil(title, [&] { return IsWindowVisible(FindWindowA("#32770", title)); }));
    const Dialog dialog(FindWindowA("#32770", title));
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int id = dialog.IdOf(boxes[i].caption);
      EXPECT_EQ(dialog.Checked(id), on(i)) << boxes[i].caption;
      EXPECT_TRUE(i >= changeable || dialog.Click(id));
    }
    if (act) act(dialog);
    // Enter, Escape and closing the main window neither end the dialog nor reach the window.
    SendBounded(dialog.window(), WM_COMMAND, IDOK, 0);
    SendBounded(dialog.window(), WM_COMMAND, IDCANCEL, 0);
    SendBounded(app_.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app_.Sync());
    EXPECT_TRUE(IsWindowVisible(dialog.window()) && !IsWindowEnabled(app_.window()));
    PostMessageA(dialog.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app_.WaitUntil("the option dialog to close", [&] {
      return !IsWindow(dialog.window()) && IsWindowEnabled(app_.window());
    }));
    // The list refresh after the close runs once the main window is enabled again.
    ASSERT_TRUE(app_.Sync());
    const Lines rows = app_.Rows();
    std::string shown;
    for (const std::string& row : rows) shown += row + "|";
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << "the list is not sorted: " << shown;
    if (after) after();
    ASSERT_TRUE(app_.Close());
    const std::string written = "\n" + SavedIni();
    for (size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_TRUE(boxes[i].piece.empty() || Has(shown, boxes[i].piece) == now(i))
          << boxes[i].caption << " in " << shown;
      EXPECT_EQ(Has(written, "\n" + std::string(boxes[i].key) + "=1\n"), now(i))
          << boxes[i].key << " in " << written;
    }
  }

  const std::string kRomsImage = Image(7, 131072);  // 1 Mbit
  const std::string db_ = "DB=" + Work("gba.zip");
};

TEST_F(OptionsTest, IncludeBoxesListTheirCategories) {
  const std::vector<Box> boxes = {{"Include Alternative Dumps", "IncAlt", "Alt"},
                                  {"Include Beta Dumps", "IncBeta", "Beta"},
                                  {"Include Nintendo Devkit Demos", "IncDevKit", "DevKit"},
                                  {"Include Hardware Dumps", "IncHardware", "Hardware"},
                                  {"Include Pirate Dumps", "IncPirate", "Pirate"},
                                  {"Include PocketNES Hack Pirate Dumps", "IncPnesHacks", "Pnes"},
                                  {"Include Pre-trained Scene Dumps", "IncPreTrained", "PreT"},
                                  {"Include Intro'ed Scene Dumps", "IncScene", "Scene"}};
  for (int k = 0; k < 3; ++k)
    Run(IDC_INCLUDE_OPTIONS, "Roms To include/Exclude", boxes, 8, k, {db_});
}

// NAME=1 and NAME=2 check their buttons, and a click on Normal makes it 0; a NAME no button
// stands for checks none and is kept.
TEST_F(OptionsTest, NamingBoxesAndNameTypes) {
  const std::vector<Box> boxes = {{"Number Roms", "NUM", "1001"},
                                  {"Include Size", "SIZE", " (1mbit)"},
                                  {"Include CRC", "CRC", " (" + CrcKey(kRomsImage) + ")"},
                                  {"Include Group", "GRP", " (Grp)"},
                                  {"Include Publisher", "PUB"},
                                  {"Include Game Code", "CODE"}};
  const char* buttons[] = {"Normal Naming", "Friendly Naming", "Scene Release Naming"};
  for (int k = 0; k < 3; ++k) {
    const int name = k < 2 ? k + 1 : 5;
    auto act = [&](const Dialog& dialog) {
      for (int b = 0; b < 3; ++b)
        EXPECT_EQ(dialog.Checked(dialog.IdOf(buttons[b])), b == name) << buttons[b];
      EXPECT_TRUE(k == 2 || dialog.Click(dialog.IdOf(buttons[0])));
    };
    Run(IDC_NAMING_OPTIONS, "Naming Options", boxes, 3, k, {db_, "NAME=" + std::to_string(name)},
        act);
    EXPECT_TRUE(Has(SavedIni(), k < 2 ? "\nNAME=0\n" : "\nNAME=5\n"));
  }
}

// One entry per launch, chosen by its text: TYPE is its position, and Move puts the ROM into
// that kind of folder. A TYPE no entry stands for selects none and is saved as -1; with it
// Move uses no sub-folder. The entries can be chosen only while "Use Sub Dirs" is checked.
TEST_F(OptionsTest, RenamingBoxesAndTheFolderOfEachType) {
  const std::vector<Box> boxes = {{"Use Sub Dirs", "SUB"},
                                  {"Log Errors", "LOG"},
                                  {"Delete Bad Dumps", "DELBAD"},
                                  {"Delete Dupes Folder", "DELDUPE"},
                                  {"Fix Roms", "FIX"},
                                  {"Rename In Zips", "INZIP"},
                                  {"Clean Zips", "CLEAN"}};
  const char* entries[] = {"By Type", "By Country", "By Rom Size", ""};
  const char* folders[] = {"Roms\\", "USA\\", "1mbit\\", ""};
  const std::string src = Work("src"), dest = Work("dest");
  ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr) && CreateDirectoryA(dest.c_str(), nullptr));
  for (int k = 0; k < 4; ++k) {
    WriteFile(src + "\\r.gba", kRomsImage);
    DeleteFileA(Prog("qvxgba.db").c_str());    // not owned: no copy of it is a dupe
    const int type = k < 3 ? (k + 2) % 3 : 3;  // each launch opens on another entry
    auto act = [&](const Dialog& dialog) {
      EXPECT_EQ(dialog.Text(IDC_RENAMING_TYPE), entries[k < 3 ? type : 3]);
      const Lines shown =
          dialog.Items(IDC_RENAMING_TYPE, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
      EXPECT_TRUE(dialog.Enabled(IDC_RENAMING_TYPE));
      for (bool sub : {false, true}) {
        ASSERT_TRUE(dialog.Click(dialog.IdOf("Use Sub Dirs")));
        EXPECT_EQ(dialog.Enabled(IDC_RENAMING_TYPE), sub);
      }
      SendBounded(GetDlgItem(dialog.window(), IDC_RENAMING_TYPE), CB_SETCURSEL,
                  std::find(shown.begin(), shown.end(), entries[k]) - shown.begin(), 0);
    };
    Run(IDC_RENAMING_OPTIONS, "Renaming Options", boxes, 2, k,
        {db_, "SRC=" + src, "DEST=" + dest, "TYPE=" + std::to_string(type)}, act, [&] {
          ASSERT_TRUE(app_.Press(IDC_MOVE));
          ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
          ASSERT_TRUE(app_.WaitIdle());
          EXPECT_TRUE(FileExists(dest + "\\" + folders[k] + "r.gba")) << folders[k];
        });
    EXPECT_TRUE(Has(SavedIni(), "\nTYPE=" + std::to_string(k < 3 ? k : -1) + "\n"));
  }
}

}  // namespace
}  // namespace e2e
