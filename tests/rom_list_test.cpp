// The ROM list after a scan: refilled only when its rows changed, its counters always set.
#include <algorithm>
#include <tuple>

#include "app/controls.h"
#include "app/list_commands.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

using Rows = std::vector<std::string>;

class RomListTest : public CoreTest {};

// After a scan the rows are refilled only when they changed, also when their number stays; the
// counters and SaveLists always follow.
TEST_F(RomListTest, AfterAScanOnlyChangedRowsAreRefilled) {
  AddRom({"00000000", 0, "R0", "", "Roms"});
  AddRom({"00000001", 0, "R1", "", "Beta"});
  RefreshRomList();
  const std::tuple<int, int, const char*, Rows, Rows, bool> rows[] = {
      {0, IDC_SHOW_ALL, "R0", {"R0"}, {"1", "0"}, true},   // a listed ROM owned: the same rows
      {0, IDC_SHOW_ALL, "Q0", {"Q0"}, {"1", "0"}, false},  // a changed row, as many rows
      {1, IDC_SHOW_ALL, "Q0", {"Q0", "R1"}, {"2", "0"}, false},  // an owned Beta now shows
      {1, IDC_SHOW_HAVE, "Q0", {"Q0", "R1"}, {"2", "0"}, true},  // another filter, same rows
      {1, IDC_SHOW_MISS, "Q0", {}, {"2", "0"}, false}};
  for (const auto& [owned, radio, name, listed, counters, kept] : rows) {
    SetOwned(g_roms[owned], true);
    snprintf(g_roms[0].name, sizeof g_roms[0].name, "%s", name);
    window_.Show(radio);
    window_.ClearRecord();
    RefreshAfterScan(window_);
    EXPECT_EQ(listed, window_.rows()) << name << radio;
    EXPECT_EQ(counters, (Rows{window_.text(IDC_HAVE_COUNTER), window_.text(IDC_MISS_COUNTER)}));
    EXPECT_TRUE(window_.enabled(IDC_SAVE_LISTS));
    const Rows& events = window_.events();
    EXPECT_EQ(kept, std::count(events.begin(), events.end(), "list-top") == 1) << name << radio;
  }
}
