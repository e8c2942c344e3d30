// Logiqx XML and clrmamepro dats: how games become records, each format's syntax, and the
// loads that refuse a dat and say where.
#include "app/controls.h"
#include "app/load.h"
#include "database/dat_file.h"
#include "database/dat_games.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "naming/sub_folder.h"
#include "platform/native_text.h"
#include "settings/settings.h"
#include "support/core_test.h"

namespace {

using Lines = std::vector<std::string>;

constexpr DatStyle kStyles[] = {DatStyle::kStandard, DatStyle::kParentClone, DatStyle::kClrmamepro};

// Each record as "number|name|category|friendly|crc|size", crc folded: the clrmamepro fixture
// writes it in upper case. A refused dat gives its message's second line.
Lines Parse(std::string dat) {  // a copy: an XML dat is parsed in place
  ClearRomTable();
  DatError error;
  DatParse parsed = ParseDatabase(dat.data(), dat.size(), nullptr, nullptr, &error);
  if (parsed == DatParse::kMalformed) {
    EXPECT_EQ(0, rom_count);
    EXPECT_STREQ("", g_roms[0].crc) << "a record stored before the fault is left";
    return {"Line " + std::to_string(error.line) + ": " + error.what};
  }
  if (parsed != DatParse::kParsed) return {"refused"};
  Lines records;
  for (int i = 0; i < rom_count; ++i) {
    const RomRecord& r = g_roms[i];
    std::string crc = r.crc;
    for (char& c : crc) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    records.push_back(std::string(r.number) + "|" + r.name + "|" + r.category + "|" +
                      r.friendly_name + "|" + crc + "|" + std::to_string(r.size));
  }
  return records;
}

DatGameOf Game(const std::string& name, const std::string& description,
               std::vector<GameRom> roms = {{"x.gba", 4, "0a0b0c0d"}}) {
  return {name, description, roms};
}

}  // namespace

TEST(CategoryOfName, TagsGiveTheIncludeKeywords) {
  const std::pair<const char*, Lines> rows[] = {
      {"Roms",
       {"Game (USA)", "Game (USA) (beta) (Unlicensed) (Pirate Edition) [b]", "Game (USA) (Beta",
        ""}},
      {"Hardware", {"[BIOS] Game Boy Advance (World)"}},
      {"Beta",
       {"Game (USA) (Beta)", "Game (USA) (Beta 2)", "Game (Japan) (Proto 1)",
        "Game (Europe) (Debug Version)"}},
      {"DevKitDemos", {"Game (USA) (Demo)", "Game (USA) (Kiosk, Demo)", "Game (Japan) (Sample)"}},
      {"Pirate",
       {"Game (World) (Pirate)", "Game (USA) (Unl)", "Game (World) (Aftermarket) (Unl)",
        "Game (World) (Homebrew)"}},
      {"Alt", {"Game (USA) (Alt)", "Game (USA) (Alt 2)", "Game (USA) (Virtual Console)"}},
      {"Hardware Beta DevKitDemos Pirate Alt", {"[BIOS] Game (Japan) (Alt) (Unl) (Demo) (Proto)"}},
      {"Beta Alt", {"Game (USA) (Alt) (Beta) (Beta 2)"}}};
  for (const auto& [category, names] : rows) {
    for (const std::string& name : names) {
      char got[128];
      CategoryOfName(name.c_str(), got);
      EXPECT_STREQ(category, got) << name;
    }
  }
}

TEST(RegionOfName, TheRegionTagNamesTheFolder) {
  const std::pair<const char*, Lines> rows[] = {
      {"USA", {"G (USA)", "G (Europe, USA)"}},
      {"Europe", {"G (Japan, Europe)", "G (En,Fr,De) (Europe)"}},
      {"France", {"G (Germany, France, Italy)"}},
      {"China", {"G (China) (Spain)"}},
      {"World", {"G (World)"}},
      {"Korea", {"G (Korea)"}},
      {"Australia", {"G (Australia, New Zealand)"}},
      {"Hong Kong", {"G (Hong Kong, Korea)"}},
      {"Japan", {"G (Rev 1) (Beta) (Japan)"}},
      {"UNKNOWN",
       {"G (USA,Europe)", "G (USA,-Europe)", "G (USA, Moon)", "G (U) (E)", "G (USA", "G"}}};
  for (const auto& [folder, names] : rows) {
    for (const std::string& name : names) {
      char got[1024];
      RegionOfName(name.c_str(), got);
      EXPECT_STREQ(folder, got) << name;
    }
  }
}

class DatFormatsTest : public CoreTest {};

// Every row in the three real shapes; each must give the same records.
TEST_F(DatFormatsTest, GamesBecomeRecordsInEveryFormat) {
  const GameRom nodump{"n.gba", 4, ""};
  const std::string x125(125, 'x');
  const struct Row {
    const char* what;
    std::vector<DatGameOf> games;
    Lines records;
  } rows[] = {
      {"a release, described",
       {Game("Alpha (USA)", "Alpha Described")},
       {"|Alpha (USA)|Roms|Alpha Described|0a0b0c0d|4"}},
      {"no description: the name is the friendly name",
       {Game("Tom & Jerry <\"Kiosk\"> (Beta)", "")},
       {"|Tom & Jerry <\"Kiosk\"> (Beta)|Beta|Tom & Jerry <\"Kiosk\"> (Beta)|0a0b0c0d|4"}},
      {"a numbered dat: every name numbered",
       {Game("0001 - Alpha (USA)", "0001 - Alpha (USA)"), Game("x002 - B (Japan)", "Bee"),
        Game("z003 - C", "C"), Game("0B04 - D", "D"), Game("Nodump only", "", {nodump})},
       {"0001 - |Alpha (USA)|Roms|Alpha (USA)|0a0b0c0d|4", "x002 - |B (Japan)|Roms|Bee|0a0b0c0d|4",
        "z003 - |C|Roms|C|0a0b0c0d|4", "0B04 - |D|Roms|D|0a0b0c0d|4"}},
      {"only some names numbered: none is",
       {Game("0001 - A", "A"), Game("007 - Everything or Nothing (Japan)", "E")},
       {"|0001 - A|Roms|A|0a0b0c0d|4", "|007 - Everything or Nothing (Japan)|Roms|E|0a0b0c0d|4"}},
      {"not a number", {Game("y001 - A", "A")}, {"|y001 - A|Roms|A|0a0b0c0d|4"}},
      {"not a number either", {Game("0001 -B", "B")}, {"|0001 -B|Roms|B|0a0b0c0d|4"}},
      {"several roms: each named by its file, nodumps skipped",
       {Game("Multi (USA)", "Multi",
             {{"Multi (USA) (Disc 1).gba", 8388608, "11111111"},
              nodump,
              {"Multi (USA) (Disc 2).bin", 16, "22222222"}}),
        Game("One (USA)", "One", {nodump, {"one.gba", 7, "33333333"}})},
       {"|Multi (USA) (Disc 1)|Roms|Multi|11111111|8388608",
        "|Multi (USA) (Disc 2)|Roms|Multi|22222222|16", "|One (USA)|Roms|One|33333333|7"}},
      {"a numbered dat of several roms",
       {Game("0001 - M", "0001 - M", {{"0001 - M (A).gba", 1, "1"}, {"m2.gba", 2, "2"}})},
       {"0001 - |M (A)|Roms|M|1|1", "0001 - |m2|Roms|M|2|2"}},
      // A name fills its field after its number is taken off, and is cut only where a name
      // of an unnumbered dat would be.
      {"a long numbered name",
       {Game("0001 - " + x125, "0001 - " + x125)},
       {"0001 - |" + x125 + "|Roms|" + x125 + "|0a0b0c0d|4"}},
      {"a long name that only looks numbered",
       {Game("0001 - " + x125, "0001 - " + x125), Game("B", "B")},
       {"|" + ("0001 - " + x125).substr(0, 127) + "|Roms|" + ("0001 - " + x125).substr(0, 127) +
            "|0a0b0c0d|4",
        "|B|Roms|B|0a0b0c0d|4"}},
  };
  for (const Row& row : rows) {
    for (DatStyle style : kStyles) {
      EXPECT_EQ(row.records, Parse(TodayDat(row.games, style)))
          << row.what << " in style " << static_cast<int>(style);
    }
  }
  // The crc as written, in its own case.
  Parse(TodayDat({Game("A", "A", {{"a.gba", 1, "abcdef01"}})}, DatStyle::kClrmamepro));
  EXPECT_STREQ("ABCDEF01", g_roms[0].crc);
}

// What each format allows beyond the shapes its producers write today.
TEST_F(DatFormatsTest, EachFormatsSyntax) {
  const std::string rom = "<rom crc=\"0A0B0C0D\" size=\"12abc\" name=\"a.gba\"/>";
  const std::pair<std::string, Lines> rows[] = {
      {"<datafile><game name=\"A\">" + rom + "</game></datafile>", {"|A|Roms|A|0a0b0c0d|12"}},
      {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- made by hand -->\r\n"
       "<datafile><machine name=\"A &amp; B &lt;&gt; &quot;&apos; &#65;&#x42;\">"
       "<!-- a comment --><description>D</description>" +
           rom + "</machine></datafile>",
       {"|A & B <> \"' AB|Roms|D|0a0b0c0d|12"}},
      {"<datafile><game name=\"Raw & Sons\">" + rom + "</game></datafile>",
       {"|Raw & Sons|Roms|Raw & Sons|0a0b0c0d|12"}},
      {"<?xml version=\"1.0\"?><datafile/>", {}},
      {"<mame><machine name=\"M\">" + rom + "</machine><header/></mame>",
       {"|M|Roms|M|0a0b0c0d|12"}},
      {"clrmamepro(name x)game(name A rom(name a.gba size 5 crc32 0a0b0c0d))",
       {"|A|Roms|A|0a0b0c0d|5"}},
      {"// a dat\nclrmamepro (\n name \"x\" // the name\n)\nresource\n(\nname\n\"B \\\"Q\\\" "
       "\\\\\"\n"
       "description \"D (Europe)\" release ( name \"r\" region EUR ) rom\n(\nname b.gba\nflags "
       "nodump "
       "size\n6\ncrc\n0A0B0C0D\nmd5 x )\n)\nemulator ( name \"e\" ( nested ( deeper ) ) )\n"
       "machine ( name M rom ( name m size 7 ) )",
       {"|B \"Q\" \\|Roms|D (Europe)|0a0b0c0d|6"}},
      {"game ( name G rom ( size 1 crc 1 ) rom ( name b.gba size 2 crc 2 ) )",
       {"|G|Roms|G|1|1", "|b|Roms|G|2|2"}},  // a rom without a name keeps the game's
      {"game ( name \"//not a comment\" rom ( size 1 crc 1 ) )",
       {"|//not a comment|Roms|//not a comment|1|1"}},
  };
  for (const auto& [dat, records] : rows) EXPECT_EQ(records, Parse(dat)) << dat;
}

// A dat that is not well formed is refused with where and what; the table stays empty.
TEST_F(DatFormatsTest, BadInputSaysWhereAndWhat) {
  const std::pair<std::string, std::string> rows[] = {
      {"<datafile>\n<game name=\"A\">\n</gmae>\n</datafile>", "Line 3: Start-end tags mismatch"},
      {"<datafile>\n<game name=\"A\"><rom crc=\"1\"/>", "Line 2: Start-end tags mismatch"},
      {"<datafile>\n<game name=\"A\">\n<rom name=\"a\" crc=\"1\"/>\n</game>\n</datafile>",
       "Line 3: a rom without a size"},
      {"<datafile>\n<game>\n<rom size=\"1\" crc=\"1\"/>\n</game>\n</datafile>",
       "Line 2: a game without a name"},
      {"<?xml version=\"1.0\"?>\n<html><body/></html>",
       "Line 2: <html> where a <datafile> was expected"},
      {"<", "Line 1: Could not determine tag type"},
      {"clrmamepro ( name x )\ngame (\n name \"A\"\n rom ( name a crc 1 )\n)",
       "Line 4: a rom without a size"},
      {"game (\n name \"A\n)\ngame ( name \"B\" )",
       "Line 2: a quoted text that does not end on its line"},
      {"game ( name A\n rom ( name a size 1 crc 1 )\n",
       "Line 1: \"game (\" is not closed by \")\""},
      {"game ( name A rom (\nname a size 1 crc", "Line 2: \"crc\" without a value"},
      {"game ( name A rom ( size ) ) )", "Line 1: \"size\" without a value"},
      {"game ( name A rom ( size 1 crc 1 ) )\ngame ( name B rom ( crc 2 ) )",
       "Line 2: a rom without a size"},
      {"game ( name A )\n)", "Line 2: \")\" where a block's name was expected"},
      {"game ( name A )\nrom size",
       "Line 2: a value where \"(\" after a block's name was expected"},
      {"game ( description A rom ( size 1 crc 1 ) )", "Line 1: a game without a name"},
      {"\ngame ( name \"\" rom ( size 1 crc 1 ) )", "Line 2: a game without a name"},
  };
  for (const auto& [dat, error] : rows) EXPECT_EQ(Lines{error}, Parse(dat)) << dat;
}

// Zipped or plain, Logiqx or clrmamepro: loaded as the Load command does, listed as a QVX dat
// would be (the beta left out), placed by region. Plain files of other kinds are refused.
TEST_F(DatFormatsTest, LoadsZippedOrPlain) {
  const std::vector<DatGameOf> games = {GameOf(Image(1, 64), "Alpha (USA, Europe)"),
                                        GameOf(Image(2, 64), "Beta Blaster (Japan) (Beta)"),
                                        GameOf(Image(3, 64), "Comet (Korea)")};
  WriteFile(NativePath(kHavesFileName), CrcKey(Image(3, 64)));
  g_settings.TYPE = 1;
  for (DatStyle style : kStyles) {
    const std::string dat = TodayDat(games, style);
    WriteFile(NativePath("gba.dat"), dat);
    WriteZip(NativePath("gba.zip"), {{"gba.xml", dat}, {"readme.txt", "x"}});
    for (const char* file : {"gba.dat", "gba.zip"}) {
      window_.ClearRecord();
      ASSERT_EQ(1, LoadDatabase(SystemPath(file).c_str())) << file;
      EXPECT_TRUE(window_.messages().empty());
      EXPECT_EQ((Lines{"Alpha (USA, Europe)", "Comet (Korea)"}), window_.rows()) << file;
      EXPECT_EQ("2 (3) 1", window_.text(IDC_KNOWN_COUNTER) + " " + window_.text(IDC_HAVE_COUNTER));
      EXPECT_EQ((Lines{"USA", "Japan", "Korea"}),
                (Lines{BuildSubFolderName(0).text, BuildSubFolderName(1).text,
                       BuildSubFolderName(2).text}));
    }
  }
  // A QVX dat keeps its own tags: "(USA)" is none of them.
  WriteDatabase(NativePath("qvx.zip"), {RomOf(Image(1, 64), "Alpha (USA)")});
  ASSERT_EQ(1, LoadDatabase(SystemPath("qvx.zip").c_str()));
  EXPECT_STREQ("UNKNOWN", BuildSubFolderName(0).text);

  WriteFile(NativePath("qvx.dat"), DatText({RomOf(Image(1, 64), "Alpha (U)")}));
  WriteFile(NativePath("notes.xml.txt"), "notes: <datafile>");
  WriteFile(NativePath("empty.dat"), "");
  for (const char* file : {"qvx.dat", "notes.xml.txt", "empty.dat", "", "missing.dat"}) {
    window_.ClearRecord();
    EXPECT_EQ(0, LoadDatabase(SystemPath(file).c_str())) << file;
    ASSERT_EQ(1u, window_.messages().size()) << file;
    EXPECT_EQ("Unable To Load Dat File! / Database Error",
              window_.messages()[0].text + " / " + window_.messages()[0].caption);
    EXPECT_EQ(0, rom_count);
  }
  // A broken dat says so on two lines.
  WriteFile(NativePath("broken.xml"), "<datafile>\n<game name=\"A\">\n<rom crc=\"1\"/>\n");
  window_.ClearRecord();
  EXPECT_EQ(0, LoadDatabase(SystemPath("broken.xml").c_str()));
  ASSERT_EQ(1u, window_.messages().size());
  EXPECT_EQ("Invalid Dat File!\nLine 3: Start-end tags mismatch", window_.messages()[0].text);
}

// The table's 8096 records hold the first roms of a longer dat.
TEST_F(DatFormatsTest, TheTableHoldsTheFirst8096Roms) {
  std::vector<DatGameOf> games;
  for (int i = 0; i < 8097; ++i)
    games.push_back(Game("G" + std::to_string(i), "", {{"g.gba", i, "c" + std::to_string(i)}}));
  EXPECT_EQ(8096u, Parse(TodayDat(games, DatStyle::kClrmamepro)).size());
  EXPECT_STREQ("G8095", g_roms[8095].name);
}

#ifdef _WIN32
// Names reach the window and the file system in the ANSI code page (1252 under Wine here).
TEST(NativeText, Utf8BecomesTheAnsiCodePage) {
  const char* rows[][2] = {{"Pok\xC3\xA9mon", "Pok\xE9mon"},
                           {"\xE6\x97\xA5\xE6\x9C\xAC (Japan)", "__ (Japan)"},
                           {"bad \xFF byte", "bad _ byte"},
                           {"plain", "plain"}};
  for (const auto& [utf8, ansi] : rows) {
    char text[64];
    snprintf(text, sizeof text, "%s", utf8);
    ToNativeText(text);
    EXPECT_STREQ(ansi, text) << utf8;
  }
  // So the list, the saved lists and the files Rename names show "é", not "Ã©".
  for (DatStyle style : kStyles)
    EXPECT_EQ(Lines{"|Pok\xE9mon (Europe)|Roms|D\xE9j\xE0|0a0b0c0d|4"},
              Parse(TodayDat({Game("Pok\xC3\xA9mon (Europe)", "D\xC3\xA9j\xC3\xA0")}, style)));
}
#endif
