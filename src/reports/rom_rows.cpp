// rom_rows.cpp: rows for Show All / Show Have / Show Miss, and the counters.
#include "reports/rom_rows.h"

#include "database/rom_table.h"
#include "naming/inclusion.h"

RomCounts CountRoms() {
  RomCounts counts = {0, 0, 0};
  for (int i = 0; i < rom_count; ++i) {
    if (IsOwned(g_roms[i]))
      ++counts.have;
    else if (IsRomIncluded(i))
      ++counts.miss;
  }
  counts.known = counts.have + counts.miss;
  return counts;
}

bool IsRomListed(int index, bool show_all, bool show_miss) {
  bool owned = IsOwned(g_roms[index]);
  if (owned && !show_miss) return true;
  return IsRomIncluded(index) && (show_all || (show_miss && !owned));
}
