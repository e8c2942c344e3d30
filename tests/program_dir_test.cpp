// The program directory taken from the executable's path.
#include "platform/program_dir.h"

#include <gtest/gtest.h>

TEST(ProgramDirectory, CutAfterLastSeparator) {
  // Without a separator the path stays whole; its first character is never looked at.
  const char* rows[][2] = {{"C:\\Tools\\x.exe", "C:\\Tools\\"},
                           {"Z:\\a\\b\\t.exe", "Z:\\a\\b\\"},
                           {"C:x.exe", "C:"},
                           {"x.exe", "x.exe"},
                           {"\\x.exe", "\\x.exe"}};
  for (const auto& [exe, dir] : rows) {
    SetProgramDirectory(exe);
    EXPECT_STREQ(dir, ProgramDirectory()) << exe;
  }
  char path[kProgramFilePathSize];
  ASSERT_TRUE(ProgramFilePath(path, "qvxgba.ini"));
  EXPECT_STREQ("\\x.exeqvxgba.ini", path);
}
