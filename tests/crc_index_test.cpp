// The crc index against a walk over the table: the same records, in the same order.
#include "database/crc_index.h"

#include <vector>

#include "base/text.h"
#include "support/core_test.h"

class CrcIndexTest : public CoreTest {};

static std::vector<int> WalkMatches(const char* text) {
  std::vector<int> found;
  for (int i = 0; i < rom_count; ++i)
    if (EqualFolded(g_roms[i].crc, text)) found.push_back(i);
  return found;
}

TEST_F(CrcIndexTest, FindsWhatAWalkFindsInTableOrder) {
  // Case twins, repeats, near misses (a ninth digit, a blank, a short text), an empty crc as
  // a blank dat line leaves it, and bytes above 127 that must not be folded.
  const char* crcs[] = {"0a1b2c3d",
                        "0A1B2C3D",
                        "0a1b2c3d ",
                        "0a1b2c3",
                        "0a1b2c3d0",
                        "",
                        "ffffffff",
                        "FFFFFFFF",
                        "\xc9\xc9\xc9\xc9",
                        "\xe9\xe9\xe9\xe9",
                        "00000000",
                        "0000000",
                        "a-crc-text-that-is-longer-than-eight"};
  constexpr int kCrcs = sizeof crcs / sizeof crcs[0];
  unsigned seed = 99;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1103515245u + 12345u;
    AddRom({crcs[(seed >> 16) % kCrcs], 0, "n", "", "Roms"});
  }
  CrcIndex index;
  index.Build();
  // Every text in the table, plus texts in no record; the long one takes the walk.
  std::vector<const char*> texts(crcs, crcs + kCrcs);
  texts.insert(texts.end(), {"0a1b2c3e", "0A1b2C3d", "12345678", "\xe9\xe9\xe9"});
  for (const char* text : texts) {
    std::vector<int> found;
    index.ForEachMatch(text, [&](int i) { found.push_back(i); });
    EXPECT_EQ(WalkMatches(text), found) << "\"" << text << "\"";
  }
}

TEST_F(CrcIndexTest, EmptyAndFullTables) {
  CrcIndex index;
  index.Build();
  int calls = 0;
  index.ForEachMatch("", [&](int) { ++calls; });
  index.ForEachMatch("0a1b2c3d", [&](int) { ++calls; });
  EXPECT_EQ(0, calls);

  for (int i = 0; i < kMaxRoms; ++i) {
    char crc[16];
    snprintf(crc, sizeof(crc), "%08X", (kMaxRoms - i) % 4000);  // each key twice, mostly
    AddRom({crc, 0, "n", "", "Roms"});
  }
  index.Build();
  for (int value : {0, 1, 96, 3999, 4000}) {
    char key[16];
    snprintf(key, sizeof(key), "%08x", value);
    std::vector<int> found;
    index.ForEachMatch(key, [&](int i) { found.push_back(i); });
    EXPECT_EQ(WalkMatches(key), found) << key;
  }
}
