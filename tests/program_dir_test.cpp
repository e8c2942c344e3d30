// The program directory taken from the executable's path.
#include "platform/program_dir.h"

#include <gtest/gtest.h>

TEST(ProgramDirectory, CutAfterLastSeparator) {
  struct Row {
    const char* exe;
    const char* dir;
  } rows[] = {
      {"C:\\Tools\\x.exe", "C:\\Tools\\"},
      {"C:x.exe", "C:"},
      {"x.exe", "x.exe"},      // neither separator: the whole path stays
      {"\\x.exe", "\\x.exe"},  // the first character is never looked at
      {"Z:\\tmp\\a\\b\\tarnwick.exe", "Z:\\tmp\\a\\b\\"},
  };
  for (const Row& r : rows) {
    SetProgramDirectory(r.exe);
    EXPECT_STREQ(r.dir, ProgramDirectory()) << r.exe;
  }
  SetProgramDirectory("C:\\Tools\\x.exe");
  char path[kProgramFilePathSize];
  ASSERT_TRUE(ProgramFilePath(path, "qvxgba.ini"));
  EXPECT_STREQ("C:\\Tools\\qvxgba.ini", path);
}
