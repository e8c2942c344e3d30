// Bounded formatting and the folded comparison behind CRC matching and list sorting.
#include "base/text.h"

#include <gtest/gtest.h>

TEST(Text, FormatReportsWhetherItFitted) {
  char small[6];
  EXPECT_TRUE(Format(small, "%s", "abcde"));
  EXPECT_STREQ("abcde", small);
  EXPECT_FALSE(Format(small, "%s", "abcdef"));
  EXPECT_STREQ("abcde", small);  // cut, but terminated
  EXPECT_TRUE(Append(small, "%s", ""));
  EXPECT_FALSE(Append(small, "%s", "x"));
}

TEST(Text, CompareFoldsOnlyAsciiLetters) {
  struct Row {
    const char* a;
    const char* b;
    int sign;
  } rows[] = {
      {"ABC", "abc", 0},    {"abc", "abd", -1}, {"ab", "abc", -1}, {"", "", 0},
      {"_", "a", -1},       {"_", "A", -1},     {"~", "z", 1},     {"[", "a", -1},
      {"\xC9", "\xE9", -1},  // only A to Z fold: other bytes compare as they are, unsigned
      {"\x80", "a", 1},
  };
  for (const Row& r : rows) {
    int got = CompareFolded(r.a, r.b);
    EXPECT_EQ(r.sign, (got > 0) - (got < 0)) << r.a << " vs " << r.b;
  }
}
