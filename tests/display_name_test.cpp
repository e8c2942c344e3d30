// Display names: piece order, option combinations and the 32-bit Mbit arithmetic.
#include "naming/display_name.h"

#include "database/rom_table.h"
#include "support/core_test.h"
#include "settings/settings.h"

class DisplayNameTest : public CoreTest {
 protected:
  int AddSample(int size) {
    return AddRom(
        {"1a2b3c4d", size, "Some Game (E)", "0001", "Roms", "Ltd", "Friendly", "Some_Game_E-LTD"});
  }
  void SetNaming(int num, int grp, int size, int crc) {
    g_settings.NUM = num;
    g_settings.GRP = grp;
    g_settings.SIZE = size;
    g_settings.CRC = crc;
  }
};

TEST_F(DisplayNameTest, WorkedExamples) {
  struct Row {
    int num, grp, size, crc, bytes;
    const char* expected;
  } rows[] = {
      {0, 0, 0, 0, 123, "Some Game (E)"},
      {1, 0, 1, 1, 4194304, "0001Some Game (E) (32mbit) (1a2b3c4d)"},
      {0, 1, 0, 0, 5, "Some Game (E) (Ltd)"},
      {0, 0, 1, 0, 8388608, "Some Game (E) (64mbit)"},
      {0, 0, 1, 0, 4194303, "Some Game (E) (31mbit)"},
      {1, 1, 1, 1, 131072, "0001Some Game (E) (Ltd) (1mbit) (1a2b3c4d)"},
  };
  for (const Row& r : rows) {
    ClearRomTable();
    int index = AddSample(r.bytes);
    SetNaming(r.num, r.grp, r.size, r.crc);
    EXPECT_STREQ(r.expected, BuildDisplayName(index).text) << r.expected;
  }
}

TEST_F(DisplayNameTest, NameKinds) {
  int index = AddSample(0);
  struct Row {
    int name;
    const char* expected;
  } rows[] = {{0, "Some Game (E)"}, {1, "Friendly"}, {2, "Some_Game_E-LTD"}, {3, ""}, {9, ""}};
  for (const Row& r : rows) {
    g_settings.NAME = r.name;
    EXPECT_STREQ(r.expected, BuildDisplayName(index).text) << "NAME " << r.name;
  }
}

TEST_F(DisplayNameTest, EmptyFieldsStillGiveTheirBrackets) {
  int index = AddRom({"", 0, "Game", "", "Roms"});
  SetNaming(1, 1, 0, 1);
  EXPECT_STREQ("Game () ()", BuildDisplayName(index).text);
}

TEST(MbitFigure, ThirtyTwoBitArithmetic) {
  struct Row {
    int32_t size, mbit;
  } rows[] = {
      {0, 0},
      {131071, 0},
      {131072, 1},
      {-131072, -1},
      {-131071, 0},  // truncated toward zero
      {268435455, 2047},
      {268435456, -2048},  // the product leaves the signed range
      {33554432, 256},
  };
  for (const Row& r : rows) EXPECT_EQ(r.mbit, MbitFigure(r.size)) << r.size;
}
