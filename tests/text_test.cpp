// The folded comparison behind CRC matching and list sorting.
#include "base/text.h"

#include <gtest/gtest.h>

TEST(Text, CompareFoldsOnlyAsciiLetters) {
  EXPECT_EQ(0, CompareFolded("ABC", "abc"));
  EXPECT_EQ(0, CompareFolded("", ""));
  // Each pair in ascending order; bytes other than A to Z compare as they are, unsigned.
  const char* ordered[][2] = {{"abc", "abd"}, {"ab", "abc"},   {"_", "a"}, {"_", "A"},
                              {"z", "~"},     {"[", "a"},      {"@", "a"}, {"[", "Z"},
                              {"a", "\x80"},  {"\xC9", "\xE9"}};
  for (const auto& [a, b] : ordered) {
    EXPECT_LT(CompareFolded(a, b), 0) << a << " vs " << b;
    EXPECT_GT(CompareFolded(b, a), 0) << b << " vs " << a;
  }
}
