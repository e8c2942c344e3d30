// e2e_support.h: one program folder per test with its own copy of tarnwick.exe, the five-ROM
// database the tests give it, and the steps the tests share.
#pragma once

#include "e2e/ui_driver.h"
// After windows.h, which it builds on.
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"

namespace e2e {

using Ids = std::vector<int>;
using Lines = std::vector<std::string>;

// Every control that can be enabled (with a database, all of them), then the path fields,
// which never are. The first eleven are the commands a scan disables and gives back, and the
// first nine of those the ones it refuses when a click arrives late.
inline const Ids kControls({IDC_SAVE_LISTS, IDC_RESET_HAVES, IDC_SCAN, IDC_MOVE, IDC_RENAME,
                            IDC_NAMING_OPTIONS, IDC_RENAMING_OPTIONS, IDC_INCLUDE_OPTIONS, IDC_LOAD,
                            IDC_PICK_SOURCE, IDC_PICK_DEST, IDC_SHOW_ALL, IDC_SHOW_HAVE,
                            IDC_SHOW_MISS, IDC_DATABASE_FIELD, IDC_SOURCE_FIELD, IDC_DEST_FIELD});
inline const Ids kScanLocked(kControls.begin(), kControls.begin() + 11);

// qvxgba.ini as the program writes it, read with "\n" line ends; each option block holds
// whole lines.
std::string IniText(const std::string& db, const std::string& src, const std::string& dest,
                    const std::string& naming = "NAME=0\n",
                    const std::string& renaming = "TYPE=0\n", const std::string& include = "");

// Those of ids whose control in the dialog passes test (&Dialog::Enabled, &Dialog::Checked).
Ids Of(const Dialog& dialog, bool (Dialog::*test)(int) const, const Ids& ids);

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Paths in the program's format: its own folder, and the folder of databases and ROMs.
  std::string Prog(const std::string& name) const { return folder_.System(name); }
  std::string Work(const std::string& name) const { return work_.System(name); }

  // Writes qvxgba.ini (CR LF lines) unless ini is empty, starts the program and waits for
  // the idle window.
  ::testing::AssertionResult Launch(const Lines& ini);

  // The known, have and miss counters as the window shows them.
  Lines Counters() const;
  std::string SavedIni() const { return ReadTextFile(Prog("qvxgba.ini")); }

  // In the dat in this order: two releases, two betas and a hardware dump, all of group
  // "Grp"; Work("gba.zip") is their database.
  Lines images_;
  std::vector<DatRom> roms_;
  TempFolder folder_, work_;
  Program app_;
};

}  // namespace e2e
