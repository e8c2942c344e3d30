// fixtures.h: what the tests and tools put on disk and into the table: files, seeded ROM
// images, dats and database zips, zips of images, haves entries.
#pragma once

#include <string>
#include <vector>

#include "tools/seeded_bytes.h"
#include "tools/zip_writer.h"

// Files, read and written as bytes. ReadFile gives "" for a missing file.
bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// A file the program wrote in text mode, with "\n" line ends on every platform.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);

// A ROM image that differs per seed, so each has a CRC of its own.
inline std::string Image(int seed, size_t size) { return SeededBytes(seed, size); }
// The CRC key of data as zlib computes it: 8 lower-case hexadecimal digits.
std::string CrcKey(const std::string& data);

// One ROM line of a dat: "crc:size:name:number:category:group:friendly:scene".
struct DatRom {
  std::string crc = "";
  long long size = 0;
  std::string name = "", number = "", category = "Roms", group = "", friendly = "", scene = "";
};
// The line for an image, its crc and size taken from the bytes.
DatRom RomOf(const std::string& image, const std::string& name, const std::string& number = "0001",
             const std::string& category = "Roms", const std::string& group = "");

// A whole dat: the markers and one line per ROM, each line ended by eol.
std::string DatText(const std::vector<DatRom>& roms, const std::string& eol = "\r\n");
// A database zip whose first (and only) entry is that dat.
bool WriteDatabase(const std::string& path, const std::vector<DatRom>& roms);
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);
// One stored entry "dat.txt" whose central directory claims crc and uncompressed_size.
bool WriteLyingZip(const std::string& path, const std::string& data, unsigned long crc,
                   unsigned long long uncompressed_size);

// A game of today's dats and its roms; a rom with an empty crc is a nodump, written without
// one.
struct GameRom {
  std::string name;
  long long size = 0;
  std::string crc;
};
struct DatGameOf {
  std::string name, description;  // no <description> when empty
  std::vector<GameRom> roms;
};
// One game of one rom "<name>.gba" holding image, described as itself.
DatGameOf GameOf(const std::string& image, const std::string& name);

// Whole dats as their producers write them: No-Intro's "Standard" Logiqx download (no DOCTYPE,
// schema attributes, ids, sha256 and serials, CR LF), its "Parent-Clone" download (the Logiqx
// DOCTYPE, cloneof, release elements, LF), and a clrmamepro copy as front ends ship it.
enum class DatStyle { kStandard, kParentClone, kClrmamepro };
std::string TodayDat(const std::vector<DatGameOf>& games, DatStyle style);

// Appends a record to the table as a load would store it; returns its index.
int AddRom(const DatRom& rom, int have = 0);

// The haves file's bytes for these ROMs, in this order.
std::string HavesOf(const std::vector<DatRom>& roms, const std::vector<int>& positions);

// Every file and folder under root, relative, "/"-joined, sorted; folders end in "/". With
// content, each file is followed by a blank and the CRC key of its bytes.
std::vector<std::string> Tree(const std::string& root, bool content = false);
