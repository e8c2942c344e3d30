// e2e_support.cpp: program folders, the shared database, and the launch, close and scan
// sequences.
#include "e2e/e2e_support.h"

namespace e2e {

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

void ProgramTest::SetUp() {
  ASSERT_TRUE(folder_.ok() && work_.ok()) << "no temporary folders";
  char exe[MAX_PATH];
  std::string built(exe, GetModuleFileNameA(nullptr, exe, sizeof exe));
  built = built.substr(0, built.find_last_of('\\') + 1) + "tarnwick.exe";  // built beside us
  ASSERT_TRUE(CopyFileA(built.c_str(), Prog("tarnwick.exe").c_str(), TRUE))
      << "cannot copy " << built << " (error " << GetLastError() << ")";
  const char* names[] = {"Alpha Quest (E)", "Beta Blaster (U)", "Comet Racer (J)",
                         "Delta Force (U)", "Echo Drive (E)"};
  const char* kinds[] = {"Roms", "Roms", "Beta", "Beta", "Hardware"};
  for (int i = 0; i < 5; ++i) {
    images_.push_back(Image(i + 1, 3000 - 500 * i));
    roms_.push_back(RomOf(images_[i], names[i], "000" + std::to_string(i + 1), kinds[i], "Grp"));
  }
  ASSERT_TRUE(WriteDatabase(Work("gba.zip"), roms_));
}

::testing::AssertionResult ProgramTest::Launch(const Lines& ini) {
  std::string text;
  for (const std::string& line : ini) text += line + "\r\n";
  if (!ini.empty()) WriteFile(Prog("qvxgba.ini"), text);
  ::testing::AssertionResult step = app_.Start(Prog("tarnwick.exe"), folder_.System());
  if (step) step = app_.WaitIdle();
  return step ? app_.Sync() : step;
}

Lines ProgramTest::Counters() const {
  return {app_.Text(IDC_KNOWN_COUNTER), app_.Text(IDC_HAVE_COUNTER), app_.Text(IDC_MISS_COUNTER)};
}

}  // namespace e2e
