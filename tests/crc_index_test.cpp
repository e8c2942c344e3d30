// The crc index against a walk over the table: the same records, in the same order.
#include "database/crc_index.h"

#include <vector>

#include "base/text.h"
#include "support/core_test.h"

class CrcIndexTest : public CoreTest {
 protected:
  // Builds the index over the table, then looks up each text both ways.
  void ExpectAsTheWalk(const std::vector<const char*>& texts) {
    index_.Build();
    for (const char* text : texts) {
      std::vector<int> walk, found;
      for (int i = 0; i < rom_count; ++i)
        if (EqualFolded(g_roms[i].crc, text)) walk.push_back(i);
      index_.ForEachMatch(text, [&](int i) { found.push_back(i); });
      EXPECT_EQ(walk, found) << "\"" << text << "\"";
    }
  }
  CrcIndex index_;  // too large for the stack
};

TEST_F(CrcIndexTest, FindsWhatAWalkFindsInTableOrder) {
  // Case twins, near misses (a blank, a ninth digit, a short text), an empty crc as a blank
  // dat line leaves it, bytes above 127 that must not fold, and a text too long to pack.
  std::vector<const char*> crcs = {"0a1b2c3d",  "0A1B2C3D", "0a1b2c3d ",       "0a1b2c3",
                                   "0a1b2c3d0", "",         "ffffffff",        "\xc9\xc9",
                                   "\xe9\xe9",  "0000000",  "0a1b2c3d0a1b2c3d"};
  ExpectAsTheWalk({"0a1b2c3d", ""});  // an empty table
  for (unsigned i = 0, seed = 99; i < 3000; ++i, seed = seed * 1103515245u + 12345u)
    AddRom({crcs[(seed >> 16) % crcs.size()], 0, "n"});
  crcs.insert(crcs.end(), {"0a1b2c3e", "0A1b2C3d", "FFFFFFFF", "\xe9\xe9\xe9", "\xc9\xe9"});
  ExpectAsTheWalk(crcs);
}
