// rom_list.cpp: rows for Show All / Show Have / Show Miss, then the counters.
#include "reports/rom_list.h"

#include "base/text.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "naming/inclusion.h"
#include "ui/controls.h"
#include "ui/window.h"

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

void RefreshRomList() {
  Window& window = MainWindow();
  window.ClearList();
  // Only Show Miss and Show All are read: with neither on, the owned records are listed.
  bool show_miss = window.IsRadioOn(ctl::kShowMiss);
  bool show_all = window.IsRadioOn(ctl::kShowAll);
  for (int i = 0; i < rom_count; ++i) {
    bool owned = IsOwned(g_roms[i]);
    bool listed = owned && !show_miss;
    if (!listed && IsRomIncluded(i)) listed = show_all || (show_miss && !owned);
    if (listed) window.AddListRow(BuildDisplayName(i).text);
  }
  window.EndListRows();
  RomCounts counts = CountRoms();
  char text[32];
  Format(text, "%i", static_cast<int>(counts.have));
  window.SetControlText(ctl::kHaveCounter, text);
  Format(text, "%i", static_cast<int>(counts.miss));
  window.SetControlText(ctl::kMissCounter, text);
  Format(text, "%i (%i)", static_cast<int>(counts.known), static_cast<int>(rom_count));
  window.SetControlText(ctl::kKnownCounter, text);
  if (counts.have != 0) window.EnableControl(ctl::kSaveLists, true);
}
