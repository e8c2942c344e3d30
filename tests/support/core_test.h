// core_test.h: the GoogleTest fixture of the core's tests: a recording main window, an empty
// table, default options, and a private program directory on disk.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/fixtures.h"
#include "support/quiet_window.h"
#include "support/temp_folder.h"

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The program directory: native paths with "/", and the program's format with "\".
  std::string NativePath(const std::string& name) const { return dir_ / name; }
  std::string SystemPath(const std::string& name) const { return dir_.System(name); }
  const std::string& dir() const { return dir_.path(); }

  QuietWindow window_;
  TempFolder dir_;
};
