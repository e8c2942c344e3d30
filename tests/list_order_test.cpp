// The saved lists' order against a plain exchange sort of whole records, equal keys included.
#include "reports/list_order.h"

#include <cstring>

#include "base/text.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

class ListOrderTest : public CoreTest {};

TEST_F(ListOrderTest, SortMatchesTheExchangeSortIncludingEqualKeys) {
  // Few distinct keys differing only in case, so equal keys meet often; bytes above 127 and
  // "_" and "~" around the letters, so the folding and the unsigned order both count.
  const char* keys[] = {"b", "B", "a", "A", "c", "_", "ab", "AB", "\xe9t\xe9", "~", "Z", ""};
  unsigned seed = 12345;
  for (int i = 0; i < 500; ++i) {
    seed = seed * 1103515245u + 12345u;
    AddRom({CrcKey(std::to_string(i)), i, keys[(seed >> 16) % 12], keys[(seed >> 8) % 12]},
           static_cast<int>(seed >> 30) & 1);
  }
  for (int by_number : {0, 1}) {
    std::vector<RomRecord> expected(g_roms, g_roms + rom_count);
    auto key = [&](const RomRecord& r) { return by_number ? r.number : r.name; };
    for (size_t p = 0; p + 1 < expected.size(); ++p)
      for (size_t q = p + 1; q < expected.size(); ++q)
        if (CompareFolded(key(expected[p]), key(expected[q])) > 0)
          std::swap(expected[p], expected[q]);
    g_settings.NUM = by_number;
    SortRomTable();
    for (int i = 0; i < rom_count; ++i)
      ASSERT_EQ(0, memcmp(&expected[i], &g_roms[i], sizeof(RomRecord))) << by_number << " " << i;
  }
}
