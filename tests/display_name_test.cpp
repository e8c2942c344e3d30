// Display names: piece order, option combinations and the 32-bit mbit arithmetic.
#include "naming/display_name.h"

#include <cstring>
#include <tuple>

#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/core_test.h"

class DisplayNameTest : public CoreTest {};

TEST_F(DisplayNameTest, PiecesInTheirOrderAndThe32BitMbitFigure) {
  // Options: N number, G group, S size, C crc, and the NAME digit.
  const std::tuple<const char*, int, const char*> rows[] = {
      {"0", 123, "Some Game (E)"},
      {"0NSC", 4194304, "0001Some Game (E) (32mbit) (1a2b3c4d)"},
      {"0G", 5, "Some Game (E) (Ltd)"},
      {"0S", 4194303, "Some Game (E) (31mbit)"},
      {"1NGSC", 131072, "0001Friendly (Ltd) (1mbit) (1a2b3c4d)"},
      {"2", 0, "Some_Game_E-LTD"},
      {"3N", 0, "0001"},
      {"9G", 0, " (Ltd)"}};
  for (const auto& [options, bytes, expected] : rows) {
    ClearRomTable();
    AddRom(
        {"1a2b3c4d", bytes, "Some Game (E)", "0001", "Roms", "Ltd", "Friendly", "Some_Game_E-LTD"});
    g_settings.NAME = options[0] - '0';
    g_settings.NUM = strchr(options, 'N') != nullptr, g_settings.GRP = !!strchr(options, 'G');
    g_settings.SIZE = strchr(options, 'S') != nullptr, g_settings.CRC = !!strchr(options, 'C');
    EXPECT_STREQ(expected, BuildDisplayName(0).text) << options;
  }
  // size * 8 wraps from 256 MiB on; the quotient is truncated toward zero.
  const int32_t sizes[][2] = {{0, 0},        {131071, 0},     {131072, 1},       {-131072, -1},
                              {-131071, 0},  {33554432, 256}, {268435455, 2047}, {268435456, -2048},
                              {INT32_MAX, 0}};
  for (const auto& [size, mbit] : sizes) EXPECT_EQ(mbit, MbitFigure(size)) << size;
}
