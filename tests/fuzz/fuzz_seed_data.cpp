// fuzz_seed_data.cpp: the starting corpora, written fresh by each fuzz build.
#include "fuzz_seed_data.h"

#include <sys/stat.h>
#include <zip.h>
#include <zlib.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>

#include "tools/zip_writer.h"

namespace {

const char* const kCategories[] = {"Roms",        "Beta",     "Alt Roms",  "Pirate",     "BetaRoms",
                                   "DevKitDemos", "Hardware", "PnesHacks", "PreTrained", "Scene"};
const char* const kCountries[] = {"(E)", "(U)", "(J)", "(F)", "(G)", "(UE)", ""};

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string RomLine(int i) {
  const char* category = kCategories[i % 10];
  const char* country = kCountries[i % 7];
  return Printf("%s:%d:Game %d %s:%04d:%s:Grp%d:Game %d:Game_%d_%s-GRP", SeedCrc(i).c_str(),
                (1 << (20 + i % 6)), i, country, i + 1, category, i % 4, i, i, country);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = bytes.empty() || fwrite(bytes.data(), bytes.size(), 1, file) == 1;
  return fclose(file) == 0 && written;
}

std::string Lines(const std::vector<std::string>& lines, const char* end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

}  // namespace

std::string SeedCrc(int index) {
  char crc[16];
  unsigned value = crc32(0, reinterpret_cast<const Bytef*>(&index), sizeof index);
  // Every third one in upper case, as some dats write them.
  snprintf(crc, sizeof crc, index % 3 == 0 ? "%08X" : "%08x", value);
  return crc;
}

std::string SeedDat(int rom_count, bool crlf) {
  const char* end = crlf ? "\r\n" : "\n";
  std::vector<std::string> lines = {"[QVXDAT]", "version=20", "[COMMENT]", "made by our seeds",
                                    "[ROMS]"};
  for (int i = 0; i < rom_count; ++i) lines.push_back(RomLine(i));
  lines.push_back("[END]");
  lines.push_back("after the end");
  return Lines(lines, end);
}

// One stored entry written raw, whose central directory claims a zip64 uncompressed size.
static bool WriteZip64Claim(const std::string& path, const std::string& data) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  zip_fileinfo info = {};
  bool ok = zipOpenNewFileInZip2_64(zip, "dat.txt", &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 1,
                                    1) == ZIP_OK &&
            zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK &&
            zipCloseFileInZipRaw64(zip, 0x100000010ull, 0) == ZIP_OK;
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

bool WriteSeedDatabase(const std::string& path) {
  return WriteZipArchive(path, {{"GBA (QVX).dat", SeedDat(16, false), true}});
}

bool WriteSeedCorpora(const std::string& root) {
  for (const char* dir : {"", "/dat_zip", "/dat_text", "/ini", "/identify", "/haves"})
    mkdir((root + dir).c_str(), 0755);
  bool ok = true;
  auto put = [&](const char* dir, const char* name, const std::string& bytes) {
    ok = WriteBytes(root + "/" + dir + "/" + name, bytes) && ok;
  };
  auto put_zip = [&](const char* dir, const char* name, const std::vector<ZipMember>& members) {
    ok = WriteZipArchive(root + "/" + dir + "/" + name, members) && ok;
  };

  // Dats: the usual shape, and each way a line or section can end early or run long.
  std::string head = "[QVXDAT]\n[COMMENT]\n[ROMS]\n";
  std::string odd_lines = head + "\n" + RomLine(1) + ":extra:fields:here\n" +
                          "a:-5\nb:+12x\nc:99999999999\nd: 7\n:::::::\n" + std::string(300, 'n') +
                          ":1:" + std::string(200, 'x') + "\n" + std::string(1500, 'L') + "\n[END]";
  std::string table_full = head + std::string(8100, '\n') + RomLine(2) + "\n";
  const struct {
    const char* name;
    std::string text;
  } dats[] = {
      {"plain.dat", SeedDat(12, false)},
      {"crlf.dat", SeedDat(12, true)},
      {"no_end.dat", head + RomLine(3) + "\n" + RomLine(4)},
      {"no_comment.dat", "[QVXDAT]\n[ROMS]\n" + RomLine(5) + "\n"},
      {"odd_lines.dat", odd_lines},
      {"table_full.dat", table_full},
      {"not_a_dat.txt", "read me first\n"},
  };
  for (const auto& dat : dats) put("dat_text", dat.name, dat.text);

  // Databases: the dats stored and deflated, and a first entry that is not the dat.
  for (const auto& dat : dats) {
    put_zip("dat_zip", (std::string(dat.name) + ".zip").c_str(), {{dat.name, dat.text, true}});
    put_zip("dat_zip", (std::string(dat.name) + ".stored.zip").c_str(),
            {{dat.name, dat.text, false}});
  }
  put_zip("dat_zip", "readme_first.zip",
          {{"readme.txt", "hello\n", false}, {"GBA.dat", SeedDat(3, false), true}});
  put_zip("dat_zip", "no_entries.zip", {});
  // A zip64 entry claiming 4 GiB + 16: only its 64-bit size shows it is too big to load.
  ok = WriteZip64Claim(root + "/dat_zip/zip64_claims_4gib.zip", SeedDat(2, false)) && ok;

  // INI files: what the program writes, then the odd lines a hand edit leaves.
  std::vector<std::string> written = {"# QVX GBA v0.3a INI",
                                      "",
                                      "# Paths",
                                      "",
                                      "DB=database.zip",
                                      "SRC=C:\\roms=in",
                                      "DEST=C:\\tidy",
                                      "",
                                      "# Naming Options",
                                      "",
                                      "CODE=1",
                                      "CRC=1",
                                      "GRP=1",
                                      "NUM=1",
                                      "PUB=1",
                                      "SIZE=1",
                                      "NAME=2",
                                      "",
                                      "# Renaming Options",
                                      "",
                                      "CLEAN=1",
                                      "DELBAD=1",
                                      "DELDUPE=1",
                                      "FIX=1",
                                      "LOG=1",
                                      "INZIP=1",
                                      "SUB=1",
                                      "TYPE=1",
                                      "",
                                      "# IncludeList",
                                      "",
                                      "IncAlt=1",
                                      "IncBeta=1",
                                      "IncDevKit=1",
                                      "IncHardware=1",
                                      "IncPirate=1",
                                      "IncPnesHacks=1",
                                      "IncPreTrained=1",
                                      "IncScene=1"};
  put("ini", "written.ini", Lines(written, "\n"));
  put("ini", "written_crlf.ini", Lines(written, "\r\n"));
  put("ini", "no_database.ini", "DB=missing.zip\nSRC=\nDEST=\nNAME=1\n");
  put("ini", "odd.ini",
      "DB=database.zip\nDEST=a\nDEST=b\n size=1\nNAME=12\nTYPE=-1\nSRC=" + std::string(1100, 's') +
          "\nLOG");

  // Zips to identify: one image, several, stored, beside other files, none at all.
  std::string image(4096, '\0');
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7);
  put_zip("identify", "one_deflated.zip", {{"Game (E).gba", image, true}});
  put_zip("identify", "one_stored.zip", {{"GAME.GBA", image, false}});
  put_zip("identify", "two_images.zip", {{"a.gba", image, true}, {"b.Gba", "b", false}});
  put_zip("identify", "with_readme.zip",
          {{"readme.txt", "hi", false}, {"sub/game.gba", image, true}, {"nfo", "", false}});
  put_zip("identify", "long_name.zip", {{std::string(300, 'x') + ".gba", "x", false}});
  put_zip("identify", "no_entries.zip", {});
  put("identify", "not_a_zip.zip", "PK but not really");

  // Haves files: whole entries in both cases, a cut tail, a NUL inside an entry.
  std::string entries = SeedCrc(0) + SeedCrc(1) + SeedCrc(2) + SeedCrc(7);
  std::string lower = SeedCrc(3);
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  put("haves", "entries.db", entries);
  put("haves", "case_folded.db", lower + "DEADBEEF");
  put("haves", "cut_tail.db", entries + "1234");
  put("haves", "nul_inside.db", std::string("abc\0defg", 8) + SeedCrc(4));
  return ok;
}
