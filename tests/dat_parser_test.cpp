// The dat parser on buffers: markers, sections, fields and their widths.
#include "database/dat_parser.h"

#include "database/rom_table.h"
#include "support/core_test.h"

namespace {

using Names = std::vector<std::string>;

std::string Dat(const std::string& rom_lines) {
  return "[QVXDAT]\nversion=1\n[COMMENT]\nmade by the tests\n[ROMS]\n" + rom_lines + "[END]\n";
}

// Parses dat into the cleared table; the crc of each record, or "not a dat".
Names Parse(const std::string& dat) {
  ClearRomTable();
  if (!ParseDat(dat.data(), dat.size(), nullptr, nullptr)) return {"not a dat"};
  Names crcs;
  for (int i = 0; i < rom_count; ++i) crcs.push_back(g_roms[i].crc);
  return crcs;
}

}  // namespace

class DatParserTest : public CoreTest {};

TEST_F(DatParserTest, MarkersAndSections) {
  const std::pair<std::string, Names> rows[] = {
      {"[QVXDAT]\r\n[COMMENT]\r\nx\r\n[ROMS]\r\naa:1\r\nbb:2\r\n[END]\r\ncc\r\n", {"aa", "bb"}},
      {"[QVXDAT]\n[ROMS]\nxx\n[COMMENT]\n[ROMS]\naa\n", {"aa"}},  // [ROMS] before [COMMENT]
      {"[QVXDAT]\n[ROMS]\naa\n", {}},
      {"[QVXDAT]\n[COMMENT]\naa\n", {}},
      {"[QVXDAT]\n[COMMENT]\n[ROMS]x\n[ROMS] \naa\n", {}},
      {"[QVXDAT]\n[COMMENT]\n[ROMS]\naa\nbb", {"aa", "bb"}},
      {"[QVXDAT]\n[COMMENT]\n[ROMS]\naa\n[END]", {"aa", "[END]"}},  // a marker needs its LF
      {"[QVXDAT]\n[COMMENT]\n[ROMS]\n[END]\rbb\n", {"[END]\rbb"}},
      {Dat("aa\n\nbb\n"), {"aa", "", "bb"}},  // a blank line is a record
      {Dat("") + "aa\n", {}},
      {"[qvxdat]\n[COMMENT]\n[ROMS]\naa\n", {"not a dat"}},
      {"[QVXDAT] \n[ROMS]\naa\n", {"not a dat"}},
      {"\xEF\xBB\xBF[QVXDAT]\n[ROMS]\naa\n", {"not a dat"}},
      {"[QVXDAT]", {"not a dat"}},
      {"", {"not a dat"}}};
  for (const auto& [dat, crcs] : rows) EXPECT_EQ(crcs, Parse(dat)) << dat;
}

TEST_F(DatParserTest, FieldsInTheirPlacesCutToTheirWidth) {
  Parse(Dat("0a1b2c3d:1048576:Name (E):0042:Roms:Grp:Friendly:Scene:more:x\n"));
  const RomRecord& rom = g_roms[0];
  EXPECT_EQ((Names{"0a1b2c3d", "Name (E)", "0042", "Roms", "Grp", "Friendly", "Scene", ""}),
            (Names{rom.crc, rom.name, rom.number, rom.category, rom.group, rom.friendly_name,
                   rom.scene_name, rom.extra_text}));
  EXPECT_EQ(1048576, rom.size);
  const char* sizes[][2] = {{"abc", "0"},
                            {"12abc", "12"},
                            {"  -131072", "-131072"},
                            {"+7", "7"},
                            {"", "0"},
                            {"99999999999", "2147483647"},
                            {"-99999999999", "-2147483648"}};
  for (const auto& [size, value] : sizes) {
    Parse(Dat(std::string("c:") + size + ":n\n"));
    EXPECT_EQ(std::string(value) + " n", std::to_string(rom.size) + " " + rom.name) << size;
  }
  std::string x(130, 'x');  // six of them still fit one 1023-character piece
  Parse(Dat("c1:1:" + x + ":" + x + ":" + x + ":" + x + ":" + x + ":" + x + "\n"));
  EXPECT_EQ((Names{std::string(127, 'x'), std::string(115, 'x'), std::string(127, 'x')}),
            (Names{rom.name, rom.group, rom.scene_name}));
  // 1023 characters fill one piece; the rest of the line is read as a line of its own.
  EXPECT_EQ((Names{"c1", "c2"}), Parse(Dat("c1:1:" + std::string(1018, 'n') + "c2:2:tail\n")));
  EXPECT_STREQ("tail", g_roms[1].name);
}
