// ui_collection.h: the generated database, haves file, INI and collection of ROM zips that
// the Wine benchmark gives the program, the same bytes on every run.
#pragma once

#include <string>
#include <vector>

namespace bench {

// One database record and the image its CRC and size describe.
struct BenchRom {
  std::string name;  // unique, in no particular order, as the list shows it by default
  std::string crc;   // eight lower-case hexadecimal digits
  std::string image;
};

// count records; their names do not follow the dat's order, so the sorted list box has to
// place every row rather than append it.
std::vector<BenchRom> MakeRoms(int count);

// A database zip whose one member is the dat of these records.
bool WriteDatabaseZip(const std::string& path, const std::vector<BenchRom>& roms);
// The haves file's bytes naming the records at even positions: half the table owned.
std::string HavesOfEvenRecords(const std::vector<BenchRom>& roms);
// count zips in folder, one .gba member each, for the records at 4k + 1 (never owned by
// HavesOfEvenRecords), each named as the list names its record so the scan logs nothing.
bool WriteRomZips(const std::string& folder, const std::vector<BenchRom>& roms, int count);

// Plain files, written whole; false when any step failed.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// An INI as the program reads it: CR LF line ends.
bool WriteIni(const std::string& path, const std::vector<std::string>& lines);

}  // namespace bench
