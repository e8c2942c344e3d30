// The ROM list under each show filter, its counters, and SaveLists enabling.
#include "app/list_commands.h"
#include "reports/rom_rows.h"

#include "database/rom_table.h"
#include "support/core_test.h"
#include "settings/settings.h"
#include "app/controls.h"

using Rows = std::vector<std::string>;

class RomListTest : public CoreTest {
 protected:
  // Roms, Roms, Beta, Beta, Hardware with have 1, 0, 1, 0, 0.
  void AddWorkedExample() {
    AddRom({"00000001", 0, "R1", "", "Roms", "", "", ""}, 1);
    AddRom({"00000002", 0, "R2", "", "Roms", "", "", ""}, 0);
    AddRom({"00000003", 0, "R3", "", "Beta", "", "", ""}, 1);
    AddRom({"00000004", 0, "R4", "", "Beta", "", "", ""}, 0);
    AddRom({"00000005", 0, "R5", "", "Hardware", "", "", ""}, 0);
  }
  std::vector<std::string> Counters() {
    return {window_.text(IDC_HAVE_COUNTER), window_.text(IDC_MISS_COUNTER),
            window_.text(IDC_KNOWN_COUNTER)};
  }
};

TEST_F(RomListTest, WorkedExample) {
  AddWorkedExample();
  struct Row {
    int beta;
    int radio;
    Rows rows;
    Rows counters;
  } rows[] = {
      {1, IDC_SHOW_ALL, {"R1", "R2", "R3", "R4"}, {"2", "2", "4 (5)"}},
      {1, IDC_SHOW_HAVE, {"R1", "R3"}, {"2", "2", "4 (5)"}},
      {1, IDC_SHOW_MISS, {"R2", "R4"}, {"2", "2", "4 (5)"}},
      {0, IDC_SHOW_ALL, {"R1", "R2", "R3"}, {"2", "1", "3 (5)"}},
      {0, IDC_SHOW_HAVE, {"R1", "R3"}, {"2", "1", "3 (5)"}},
      {0, IDC_SHOW_MISS, {"R2"}, {"2", "1", "3 (5)"}},
  };
  for (const Row& r : rows) {
    g_settings.IncBeta = r.beta;
    window_.Show(r.radio);
    RefreshRomList();
    EXPECT_EQ(r.rows, window_.rows()) << "IncBeta " << r.beta << " radio " << r.radio;
    EXPECT_EQ(r.counters, Counters()) << "IncBeta " << r.beta << " radio " << r.radio;
  }
}

TEST_F(RomListTest, NoRadioSelectedListsOwnedRecords) {
  AddWorkedExample();
  window_.Show(0);
  RefreshRomList();
  EXPECT_EQ((Rows{"R1", "R3"}), window_.rows());
}

TEST_F(RomListTest, EmptyTable) {
  window_.SetControlText(IDC_KNOWN_COUNTER, "junk");
  RefreshRomList();
  EXPECT_TRUE(window_.rows().empty());
  EXPECT_EQ((Rows{"0", "0", "0 (0)"}), Counters());
  EXPECT_FALSE(window_.enabled(IDC_SAVE_LISTS));
}

TEST_F(RomListTest, SaveListsEnabledWhenOwnedAndNeverDisabled) {
  AddRom({"00000001", 0, "R1", "", "Roms"});
  RefreshRomList();
  EXPECT_FALSE(window_.enabled(IDC_SAVE_LISTS));
  g_roms[0].have = 1;
  RefreshRomList();
  EXPECT_TRUE(window_.enabled(IDC_SAVE_LISTS));
  g_roms[0].have = 0;  // as after Reset Haves
  RefreshRomList();
  EXPECT_TRUE(window_.enabled(IDC_SAVE_LISTS));
  EXPECT_EQ((Rows{"0", "1", "1 (1)"}), Counters());
}

TEST_F(RomListTest, RowsUseTheNamingOptionsOfTheMoment) {
  AddRom({"0000000a", 262144, "Zed", "002 - ", "Roms"});
  AddRom({"0000000b", 131072, "alpha", "001 - ", "Roms"});
  RefreshRomList();
  EXPECT_EQ((Rows{"Zed", "alpha"}), window_.rows());  // in table order: the list box sorts
  g_settings.NUM = 1;
  g_settings.SIZE = 1;
  RefreshRomList();
  EXPECT_EQ((Rows{"002 - Zed (2mbit)", "001 - alpha (1mbit)"}), window_.rows());
  EXPECT_EQ((Rows{"0", "2", "2 (2)"}), Counters());
}
