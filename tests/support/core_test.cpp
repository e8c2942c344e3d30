// core_test.cpp: a fresh process state per test.
#include "support/core_test.h"

#include "app/window.h"
#include "database/rom_table.h"
#include "platform/program_dir.h"
#include "settings/settings.h"

void CoreTest::SetUp() {
  ASSERT_TRUE(dir_.ok());
  SetMainWindow(&window_);
  ClearRomTable();
  ResetSettings();
  // As the executable's path would give it.
  SetProgramDirectory(SystemPath("tarnwick.exe").c_str());
}

void CoreTest::TearDown() { SetMainWindow(nullptr); }
