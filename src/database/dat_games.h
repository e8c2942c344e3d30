// dat_games.h: the games of a Logiqx or clrmamepro dat as their readers hand them over, and how
// their roms become records of the ROM table: names, release numbers and categories from tags.
#pragma once

#include <cstddef>
#include <cstdint>

#include "database/dat_parser.h"

// A text of the dat in place, not copied; nullptr when the dat does not give it.
struct DatText {
  const char* text = nullptr;
  size_t length = 0;
  bool escaped = false;  // a clrmamepro quoted value: "\x" still stands for x
};

// A game and the roms of it that carry a crc (the only ones that become records); offsets
// are bytes into the dat, turned into a line only for an error.
struct DatGame {
  DatText name, description;
  int roms = 0;
  size_t offset = 0;
};
struct DatGameRom {
  DatText name, size, crc;
  size_t offset = 0;
};

// What a reader tells, in file order: each game, then its roms. A false return stops the
// reader, which then returns false too.
class DatGameSink {
 public:
  virtual bool Game(const DatGame& game) = 0;
  virtual bool Rom(const DatGameRom& rom) = 0;

 protected:
  ~DatGameSink() = default;
};

// A reader over a dat: walks every game into sink; false when the reader or the sink gave up,
// having set the error the reader was made with.
using DatGameWalk = bool (*)(void* reader, DatGameSink& sink);

// Runs walk over the cleared table, checking every game and storing its records (hook after
// each), then takes the release numbers off the names if every game is numbered. kMalformed,
// with the table emptied again and error's offset and what set, when the reader or the check
// gave up.
DatParse StoreDatGames(DatGameWalk walk, void* reader, DatRecordHook hook, void* context,
                       DatError* error);

// Sets where (a byte of the dat) and what.
bool FailAt(DatError* error, size_t offset, const char* what);

// The line of offset in text, counted from 1.
int LineOfOffset(const char* text, size_t offset);

// The category keywords that a name's tags give ("Beta", "Hardware Pirate", "Roms").
void CategoryOfName(const char* name, char (&category)[128]);

// True when name starts with a release number: "0001 - ", "x012 - ", "z123 - ", "0B01 - ".
bool HasReleaseNumber(const char* name, size_t length);
