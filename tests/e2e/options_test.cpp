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
  std::string piece;
  bool enabled;
};

class OptionsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // One ROM per category, each named by it, in the dat in the reverse of the list's order.
    const char* categories[] = {"Scene",    "Roms",        "PreTrained", "PnesHacks", "Pirate",
                                "Hardware", "DevKitDemos", "Beta",       "Alt"};
    roms_.clear();
    for (int i = 0; i < 9; ++i) {
      const std::string image = i == 1 ? kRomsImage : Image(i + 10, 100 + i);
      roms_.push_back(RomOf(image, categories[i] + std::string(" (U)"), std::to_string(1000 + i),
                            categories[i], "Grp"));
    }
    ASSERT_TRUE(WriteDatabase(Work("gba.zip"), roms_));
  }

  // Launch k of a dialog: box i starts checked when bit k of i is set, so that over three
  // launches any two boxes differ. Opens the dialog, checks what it shows, clicks every box
  // that can be changed, leaves the rest to act, closes the dialog and checks the list; after
  // runs before the program closes. The INI written at close holds the boxes' options and
  // the saved lines.
  void Run(
      int button, const char* title, const std::vector<Box>& boxes, int k, Lines ini,
      const Lines& saved, const std::function<void(const Dialog&)>& act,
      const std::function<void()>& after = [] {}) {
    SCOPED_TRACE(std::string(title) + " " + std::to_string(k));
    auto on = [&](size_t i) { return (i >> k & 1) != 0; };
    // A box that can be changed is clicked: its option is the other way after the close.
    auto now = [&](size_t i) { return on(i) != boxes[i].enabled; };
    for (size_t i = 0; i < boxes.size(); ++i)
      if (on(i)) ini.push_back(boxes[i].key + std::string("=1"));
    ASSERT_TRUE(Launch(ini));
    ASSERT_TRUE(app_.Press(button));
    Dialog dialog;
    ASSERT_TRUE(app_.WaitUntil(title, [&] {
      return IsWindowVisible((dialog = Dialog(FindWindowA("#32770", title))).window());
    }));
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int id = dialog.IdOf(boxes[i].caption);
      ASSERT_NE(id, -1) << boxes[i].caption;
      EXPECT_EQ(dialog.Checked(id), on(i)) << boxes[i].caption;
      EXPECT_EQ(dialog.Enabled(id), boxes[i].enabled) << boxes[i].caption;
      EXPECT_TRUE(!boxes[i].enabled || dialog.Click(id));
    }
    act(dialog);
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
    for (size_t i = 0; i < boxes.size(); ++i)
      EXPECT_TRUE(boxes[i].piece.empty() ||
                  (shown.find(boxes[i].piece) != std::string::npos) == now(i))
          << boxes[i].caption << " in " << shown;
    after();
    ASSERT_TRUE(app_.Close());
    const std::string written = "\n" + SavedIni();
    for (size_t i = 0; i < boxes.size(); ++i)
      EXPECT_EQ(written.find("\n" + std::string(boxes[i].key) + "=1\n") != std::string::npos,
                now(i))
          << boxes[i].key << " in " << written;
    for (const std::string& line : saved)
      EXPECT_NE(written.find("\n" + line + "\n"), std::string::npos) << line << " in " << written;
  }

  const std::string kRomsImage = Image(7, 131072);  // 1 Mbit
  const std::string db_ = "DB=" + Work("gba.zip");
};

TEST_F(OptionsTest, IncludeBoxesListTheirCategories) {
  const std::vector<Box> boxes = {
      {"Include Alternative Dumps", "IncAlt", "Alt (U)", true},
      {"Include Beta Dumps", "IncBeta", "Beta (U)", true},
      {"Include Nintendo Devkit Demos", "IncDevKit", "DevKit", true},
      {"Include Hardware Dumps", "IncHardware", "Hardware", true},
      {"Include Pirate Dumps", "IncPirate", "Pirate", true},
      {"Include PocketNES Hack Pirate Dumps", "IncPnesHacks", "Pnes", true},
      {"Include Pre-trained Scene Dumps", "IncPreTrained", "PreT", true},
      {"Include Intro'ed Scene Dumps", "IncScene", "Scene (U)", true}};
  for (int k = 0; k < 3; ++k)
    Run(IDC_INCLUDE_OPTIONS, "Roms To include/Exclude", boxes, k, {db_}, {}, [](const Dialog&) {});
}

// NAME=1 and NAME=2 check their buttons, and Normal is clicked; a NAME no button stands for
// checks none, names nothing and is kept.
TEST_F(OptionsTest, NamingBoxesAndNameTypes) {
  const std::vector<Box> boxes = {{"Number Roms", "NUM", "1001", true},
                                  {"Include Group", "GRP", " (Grp)", false},
                                  {"Include Size", "SIZE", " (1mbit)", true},
                                  {"Include Publisher", "PUB", "", false},
                                  {"Include Game Code", "CODE", "", false},
                                  {"Include CRC", "CRC", " (" + CrcKey(kRomsImage) + ")", true}};
  const char* buttons[] = {"Normal Naming", "Friendly Naming", "Scene Release Naming"};
  for (int k = 0; k < 3; ++k) {
    const int name = k < 2 ? k + 1 : 5;
    Run(
        IDC_NAMING_OPTIONS, "Naming Options", boxes, k, {db_, "NAME=" + std::to_string(name)},
        {k < 2 ? "NAME=0" : "NAME=5"},
        [&](const Dialog& dialog) {
          for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(dialog.Checked(dialog.IdOf(buttons[b])), b == name) << buttons[b];
            EXPECT_EQ(dialog.Enabled(dialog.IdOf(buttons[b])), b == 0) << buttons[b];
          }
          EXPECT_TRUE(k == 2 || dialog.Click(dialog.IdOf(buttons[0])));
        },
        [&] { EXPECT_EQ(app_.Rows().at(0).find("Roms (U)") != std::string::npos, k < 2); });
  }
}

// One entry per launch, chosen by its text: TYPE is its position, and Move puts the ROM into
// that kind of folder. A TYPE no entry stands for selects none and is saved as -1; with it
// Move uses no sub-folder. The entries can be chosen only while "Use Sub Dirs" is checked.
TEST_F(OptionsTest, RenamingBoxesAndTheFolderOfEachType) {
  const std::vector<Box> boxes = {{"Use Sub Dirs", "SUB", "", true},
                                  {"Log Errors", "LOG", "", true},
                                  {"Delete Bad Dumps", "DELBAD", "", false},
                                  {"Delete Dupes Folder", "DELDUPE", "", false},
                                  {"Fix Roms", "FIX", "", false},
                                  {"Rename In Zips", "INZIP", "", false},
                                  {"Clean Zips", "CLEAN", "", false}};
  const char* entries[] = {"By Type", "By Country", "By Rom Size", ""};
  const Lines placed[] = {
      {"Roms/", "Roms/r.gba"}, {"USA/", "USA/r.gba"}, {"1mbit/", "1mbit/r.gba"}, {"r.gba"}};
  for (int k = 0; k < 4; ++k) {
    TempFolder collection;
    const std::string src = collection.System("src"), dest = collection.System("dest");
    ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr) && CreateDirectoryA(dest.c_str(), nullptr));
    WriteFile(src + "\\r.gba", kRomsImage);
    DeleteFileA(Prog("qvxgba.db").c_str());
    const int type = k < 3 ? (k + 2) % 3 : 3;  // each launch opens on another entry
    Run(
        IDC_RENAMING_OPTIONS, "Renaming Options", boxes, k,
        {db_, "SRC=" + src, "DEST=" + dest, "TYPE=" + std::to_string(type)},
        {"TYPE=" + std::to_string(k < 3 ? k : -1)},
        [&](const Dialog& dialog) {
          EXPECT_EQ(dialog.Text(IDC_RENAMING_TYPE), entries[k < 3 ? type : 3]);
          const Lines shown =
              dialog.Items(IDC_RENAMING_TYPE, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
          EXPECT_TRUE(dialog.Enabled(IDC_RENAMING_TYPE));
          EXPECT_TRUE(dialog.Click(dialog.IdOf("Use Sub Dirs")));
          EXPECT_FALSE(dialog.Enabled(IDC_RENAMING_TYPE));
          EXPECT_TRUE(dialog.Click(dialog.IdOf("Use Sub Dirs")));
          if (k < 3)
            SendBounded(GetDlgItem(dialog.window(), IDC_RENAMING_TYPE), CB_SETCURSEL,
                        std::find(shown.begin(), shown.end(), entries[k]) - shown.begin(), 0);
        },
        [&] {
          ASSERT_TRUE(app_.Press(IDC_MOVE));
          ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
          ASSERT_TRUE(app_.WaitIdle());
          EXPECT_EQ(Tree(collection / "dest"), placed[k]);
        });
  }
}

}  // namespace
}  // namespace e2e
