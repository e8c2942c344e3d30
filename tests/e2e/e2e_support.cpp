// e2e_support.cpp: program folders, the shared database, and the launch, close and scan
// sequences.
#include "e2e/e2e_support.h"

namespace e2e {

const Ids kScanLocked = {IDC_SAVE_LISTS,
                         IDC_RESET_HAVES,
                         IDC_SCAN,
                         IDC_MOVE,
                         IDC_RENAME,
                         IDC_NAMING_OPTIONS,
                         IDC_RENAMING_OPTIONS,
                         IDC_INCLUDE_OPTIONS,
                         IDC_LOAD,
                         IDC_PICK_SOURCE,
                         IDC_PICK_DEST};

std::string IniText(const std::string& db, const std::string& src, const std::string& dest,
                    const std::string& naming, const std::string& renaming,
                    const std::string& include) {
  return "# QVX GBA v0.3a INI\n\n# Paths\n\nDB=" + db + "\nSRC=" + src + "\nDEST=" + dest +
         "\n\n# Naming Options\n\n" + naming + "\n# Renaming Options\n\n" + renaming +
         "\n# IncludeList\n\n" + include;
}

Ids Of(const Dialog& dialog, bool (Dialog::*test)(int) const, const Ids& ids) {
  Ids passed;
  for (int id : ids)
    if ((dialog.*test)(id)) passed.push_back(id);
  return passed;
}

Lines TextsOf(const Dialog& dialog, const Ids& ids) {
  Lines texts;
  for (int id : ids) texts.push_back(dialog.Text(id));
  return texts;
}

void ProgramTest::SetUp() {
  ASSERT_TRUE(folder_.ok() && work_.ok()) << "no temporary folders";
  char exe[MAX_PATH];
  std::string built(exe, GetModuleFileNameA(nullptr, exe, sizeof exe));
  built = built.substr(0, built.find_last_of('\\') + 1) + "tarnwick.exe";  // built beside us
  ASSERT_TRUE(CopyFileA(built.c_str(), Prog("tarnwick.exe").c_str(), TRUE))
      << "cannot copy " << built << " (error " << GetLastError() << ")";
  const char* roms[][2] = {{"Alpha Quest (E)", "Roms"},
                           {"Beta Blaster (U)", "Roms"},
                           {"Comet Racer (J)", "Beta"},
                           {"Delta Force (U)", "Beta"},
                           {"Echo Drive (E)", "Hardware"}};
  for (int i = 0; i < 5; ++i) {
    images_.push_back(Image(i + 1, 3000 - 500 * i));
    roms_.push_back(
        RomOf(images_[i], roms[i][0], "000" + std::to_string(i + 1), roms[i][1], "Grp"));
  }
  ASSERT_TRUE(WriteDatabase(Work("gba.zip"), roms_));
}

::testing::AssertionResult ProgramTest::Launch(const Lines& ini) {
  std::string text;
  for (const std::string& line : ini) text += line + "\r\n";
  if (!ini.empty()) WriteFile(Prog("qvxgba.ini"), text);
  ::testing::AssertionResult step = Start();
  if (step) step = app_.WaitIdle();
  return step ? app_.Sync() : step;
}

::testing::AssertionResult ProgramTest::RunScan(int command, const std::string& caption,
                                                const std::string& message, int timeout_ms) {
  ::testing::AssertionResult step = app_.Press(command);
  if (step) step = app_.Answer(caption, message, timeout_ms);
  return step ? app_.WaitIdle() : step;
}

Lines ProgramTest::Counters() const {
  return {app_.Text(IDC_KNOWN_COUNTER), app_.Text(IDC_HAVE_COUNTER), app_.Text(IDC_MISS_COUNTER)};
}

}  // namespace e2e
