// fuzz_seeds.cpp: writes each fuzz target's starting corpus under the folder given: the usual
// shape of every input, and the ways each can end early, run long or lie about itself.
#include <sys/stat.h>

#include "fuzz/fuzz_target.h"
#include "settings/ini_file.h"

namespace {

std::string g_root;
bool g_ok = true;

void Put(const char* target, const std::string& name, const std::string& bytes) {
  g_ok = WriteFile(g_root + "/" + target + "/" + name, bytes) && g_ok;
}

void PutZip(const char* target, const std::string& name, const std::vector<ZipMember>& members) {
  g_ok = WriteZip(g_root + "/" + target + "/" + name, members) && g_ok;
}

// The ROM lines of a dat alone, LF-ended.
std::string Lines(const std::vector<DatRom>& roms) {
  std::string dat = DatText(roms, "\n");
  size_t from = dat.find("[ROMS]\n") + 7;
  return dat.substr(from, dat.size() - 6 - from);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  g_root = argv[1];
  for (const char* dir : {"", "/dat_zip", "/dat_text", "/ini", "/identify", "/haves"})
    mkdir((g_root + dir).c_str(), 0755);
  std::vector<DatRom> roms = FuzzRoms(), few(roms.begin(), roms.begin() + 12);

  // Fields past their width, a line past the line buffer, and a long last record of a table
  // that overflows: each field's cut, and the table's end, are where a copy would run over.
  std::string head = "[QVXDAT]\n[COMMENT]\n[ROMS]\n";
  std::string long_fields = "a:1:n:1:c:" + std::string(120, 'g') + ":f:" + std::string(200, 's');
  std::string odd = head + "\n" + Lines({roms[1]}) +
                    "a:-5\nb:+12x\nc:99999999999\nd: 7\n:::::::\n" +
                    "x:1:" + std::string(300, 'n') + "\n" + long_fields + "\n" +
                    std::string(1500, 'L') + "\n[END]";
  const std::pair<const char*, std::string> dats[] = {
      {"crlf.dat", DatText(few)},
      {"lf.dat", DatText(few, "\n")},
      {"no_end.dat", head + Lines(few)},
      {"odd_lines.dat", odd},
      {"table_full.dat", head + std::string(8095, '\n') + long_fields + "\n" + Lines(few)},
  };
  for (const auto& [name, text] : dats) {
    Put("dat_text", name, text);
    PutZip("dat_zip", std::string(name) + ".zip", {{name, text, true}});
    PutZip("dat_zip", std::string(name) + ".stored.zip", {{name, text, false}});
  }
  // Today's dats, zipped and plain: tagged, numbered and several-rom games, a nodump, entities.
  std::vector<DatGameOf> games;
  for (size_t i = 0; i < few.size(); ++i)
    games.push_back(GameOf(Image(static_cast<int>(i), 64),
                           "000" + std::to_string(i % 10) + " - Game & Co (USA, Europe) (Beta)"));
  games.push_back({"[BIOS] Two (Japan) (Alt)",
                   "",
                   {{"a.gba", 4, "0a0b0c0d"}, {"b.bin", 1, ""}, {"c \"q\".gba", 9, "DEADBEEF"}}});
  const std::pair<const char*, DatStyle> styles[] = {{"standard.xml", DatStyle::kStandard},
                                                     {"parent_clone.xml", DatStyle::kParentClone},
                                                     {"clrmamepro.dat", DatStyle::kClrmamepro}};
  for (const auto& [name, style] : styles) {
    std::string text = TodayDat(games, style);
    Put("dat_text", name, text);
    Put("dat_zip", name, text);
    PutZip("dat_zip", std::string(name) + ".zip", {{name, text, true}});
  }
  PutZip("dat_zip", "readme_first.zip",
         {{"readme.txt", "hello\n", false}, {"GBA.dat", DatText(few)}});
  PutZip("dat_zip", "no_entries.zip", {});
  // Only the 64-bit size shows the first too big; only the CRC check catches the second.
  const std::string& dat = dats[0].second;
  g_ok = WriteLyingZip(g_root + "/dat_zip/zip64_claims_4gib.zip", dat, 0, 0x100000010ull) && g_ok;
  g_ok = WriteLyingZip(g_root + "/dat_zip/wrong_crc.zip", dat, 0x1234, dat.size()) && g_ok;

  // INI files: one as the program writes it, and a hand edit's odd lines, some CR LF.
  Settings all = {};
  for (const OptionKey& option : kOptionKeys) all.*option.value = 1;
  const char* const paths[kIniPathCount] = {"database.zip", "C:\\roms=in", "C:\\tidy"};
  g_ok = WriteIniFile((g_root + "/ini/written.ini").c_str(), paths, all) && g_ok;
  Put("ini", "odd.ini",
      "DB=database.zip\r\nDEST=a\r\nDEST=b\n size=1\nNAME=12\nTYPE=-1\nSRC=" +
          std::string(1100, 's') + "\nSRC=\nLOG");

  // Zips to identify: one image, several, stored, beside other files, none at all.
  std::string image = Image(1, 4096);
  PutZip("identify", "one_deflated.zip", {{"Game (E).gba", image, true}});
  PutZip("identify", "one_stored.zip", {{"GAME.GBA", image, false}});
  PutZip("identify", "two_images.zip", {{"a.gba", image}, {"b.Gba", "b", false}});
  PutZip("identify", "with_readme.zip",
         {{"readme.txt", "hi", false}, {"sub/game.gba", image}, {"nfo", "", false}});
  PutZip("identify", "long_name.zip", {{std::string(300, 'x') + ".gba", "x", false}});
  Put("identify", "not_a_zip.zip", "PK but not really");

  // Haves files: whole entries, another case, a cut tail, a NUL inside an entry.
  std::string entries = HavesOf(roms, {0, 1, 2, 7}), folded = CrcKey(Image(3, 64));
  Put("haves", "entries.db", entries);
  Put("haves", "case_folded.db", folded + "DEADBEEF");
  Put("haves", "cut_tail.db", entries + "1234");
  Put("haves", "nul_inside.db", std::string("abc\0defg", 8) + roms[4].crc);
  if (!g_ok) fprintf(stderr, "%s: could not write every seed under %s\n", argv[0], argv[1]);
  return g_ok ? 0 : 1;
}
