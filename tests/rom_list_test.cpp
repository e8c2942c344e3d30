// The ROM list under each show filter, and its counters.
#include <algorithm>
#include <tuple>

#include "app/controls.h"
#include "app/list_commands.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

using Rows = std::vector<std::string>;

class RomListTest : public CoreTest {};

// After a scan the rows are refilled only when they changed; the counters always follow.
TEST_F(RomListTest, AfterAScanOnlyChangedRowsAreRefilled) {
  AddRom({"00000000", 0, "R0", "", "Roms"});
  AddRom({"00000001", 0, "R1", "", "Beta"});
  RefreshRomList();
  const std::tuple<int, int, Rows, std::string, bool> rows[] = {
      {0, IDC_SHOW_ALL, {"R0"}, "1", true},        // a listed ROM owned: the same rows
      {1, IDC_SHOW_ALL, {"R0", "R1"}, "2", false},  // an owned Beta now shows
      {1, IDC_SHOW_HAVE, {"R0", "R1"}, "2", true},  // another filter, the same rows
      {1, IDC_SHOW_MISS, {}, "2", false}};
  for (const auto& [owned, radio, listed, have, kept] : rows) {
    SetOwned(g_roms[owned], true);
    window_.Show(radio);
    window_.ClearRecord();
    RefreshAfterScan(window_);
    EXPECT_EQ(listed, window_.rows()) << owned << radio;
    EXPECT_EQ(have, window_.text(IDC_HAVE_COUNTER)) << owned << radio;
    const Rows& events = window_.events();
    EXPECT_EQ(kept, std::count(events.begin(), events.end(), "list-top") == 1) << owned << radio;
  }
}

TEST_F(RomListTest, ShowFilterAndCounters) {
  const char* categories[] = {"Roms", "Roms", "Beta", "Beta", "Hardware"};
  for (int i = 0; i < 5; ++i)  // R0 and R2 owned
    AddRom({"0000000" + std::to_string(i), 0, "R" + std::to_string(i), "", categories[i]},
           i == 0 || i == 2);
  const std::tuple<int, int, Rows, Rows> rows[] = {
      {1, IDC_SHOW_ALL, {"R0", "R1", "R2", "R3"}, {"2", "2", "4 (5)"}},
      {1, IDC_SHOW_HAVE, {"R0", "R2"}, {"2", "2", "4 (5)"}},
      {1, IDC_SHOW_MISS, {"R1", "R3"}, {"2", "2", "4 (5)"}},
      {0, IDC_SHOW_ALL, {"R0", "R1", "R2"}, {"2", "1", "3 (5)"}},  // an owned Beta still shows
      {0, IDC_SHOW_MISS, {"R1"}, {"2", "1", "3 (5)"}},
      {0, 0, {"R0", "R2"}, {"2", "1", "3 (5)"}}};  // no radio on: the owned ones
  for (const auto& [beta, radio, listed, counters] : rows) {
    g_settings.IncBeta = beta;
    window_.Show(radio);
    RefreshRomList();
    EXPECT_EQ(listed, window_.rows()) << "IncBeta " << beta << " radio " << radio;
    EXPECT_EQ(counters, (Rows{window_.text(IDC_HAVE_COUNTER), window_.text(IDC_MISS_COUNTER),
                              window_.text(IDC_KNOWN_COUNTER)}))
        << "IncBeta " << beta << " radio " << radio;
  }
}
