// e2e_support.h: one program folder per test with its own copy of tarnwick.exe, and the
// databases, ROM images and INI files the tests give it.
#pragma once

#include <string>
#include <vector>

#include "app/controls.h"
#include "e2e/ui_driver.h"

namespace e2e {

constexpr char kIdleTitle[] = "Tarnwick GBA v0.3a";


// The eleven commands a scan disables and gives back, and the three show-filter buttons.
extern const std::vector<int> kScanLocked;
extern const std::vector<int> kShowFilter;

// One known ROM: its dat fields and the image the tests write for it.
struct Rom {
  std::string name;
  std::string number;
  std::string category = "Roms";
  std::string image;  // the ROM's bytes; its CRC and size go into the dat
  std::string group = "Grp";
  std::string Crc() const;  // the image's CRC in lower case
};

// Five ROMs, one per line of the dat in this order: two regular releases, two betas and a
// hardware dump, with images of a few kilobytes.
std::vector<Rom> FiveRoms();
// The haves file's bytes for the ROMs at these positions, in this order.
std::string HavesOf(const std::vector<Rom>& roms, const std::vector<int>& positions);

// Deterministic bytes that differ per seed, so every image has its own CRC.
std::string Image(int seed, size_t size);
// The dat text for the ROMs, lines ended by CR LF; each ROM's friendly and scene names are its
// name followed by " F" and " S".
std::string DatText(const std::vector<Rom>& roms);
// A database zip whose one entry is that dat.
void WriteDatabase(const std::string& path, const std::vector<Rom>& roms);
// A zip holding one member per (name, data) pair.
void WriteRomZip(const std::string& path,
                 const std::vector<std::pair<std::string, std::string>>& members);
// A text file as the program's INI reader expects it: CR LF line ends.
void WriteIniFile(const std::string& path, const std::vector<std::string>& lines);
// Lines joined by "\n", each ended, to compare with ReadTextFile.
std::string Lines(const std::vector<std::string>& lines);

// The known, have and miss counters as the window shows them.
struct Counters {
  std::string known, have, miss;
  bool operator==(const Counters& other) const {
    return known == other.known && have == other.have && miss == other.miss;
  }
};
std::ostream& operator<<(std::ostream& out, const Counters& counters);

// Each test gets a program folder holding a copy of tarnwick.exe (where the program keeps
// its INI, haves file, logs and lists, and its current directory), a work folder for the
// database and the collection, and a running program to drive.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string ProgramFile(const std::string& name) const { return folder_ / name; }
  std::string WorkFile(const std::string& name) const { return work_ / name; }
  const std::string& WorkPath() const { return work_.path(); }

  // Writes qvxgba.ini into the program folder.
  void WriteIni(const std::vector<std::string>& lines);
  // An INI that names the database (and optionally paths) plus further option lines.
  void WriteIniFor(const std::string& db, const std::string& src, const std::string& dest,
                   const std::vector<std::string>& options = {});

  // Starts the program; Launch also waits for the idle window.
  ::testing::AssertionResult Start();
  ::testing::AssertionResult Launch();
  // Closes the window and expects exit code 0.
  ::testing::AssertionResult CloseProgram();

  // The have, miss and known counters as the window shows them.
  Counters ShownCounters() const;

  // Every control of the list that is enabled, as "id" texts, to compare states in one go.
  std::vector<int> EnabledOf(const std::vector<int>& ids) const;

  // A scan command from its click to the idle window: "Done!" (or the given error) answered.
  ::testing::AssertionResult RunScan(int command, const char* caption = "Scan",
                                     const char* message = "Done!");

  TempFolder folder_;
  TempFolder work_;
  TempFolder scratch_;  // the program's standard output, outside the folders under test
  Program app_;
};

}  // namespace e2e
