// dat_file.h: a database file read into memory (a zip's first entry, or a plain Logiqx or
// clrmamepro dat), its format told from its content, and the parse that format needs.
#pragma once

#include <cstddef>

#include "database/dat_parser.h"

// The largest dat a database may claim to hold. A full QVX dat of 8096 ROMs is about 1.5 MiB,
// a Logiqx one about 4 MiB; anything claiming more than this is refused rather than allocated.
constexpr unsigned long kMaxDatSize = 64ul * 1024 * 1024;

enum class DatRead {
  kRead,        // *dat holds the whole dat; the caller frees it
  kUnreadable,  // no zip and no plain dat, no entry, a short read or a CRC that does not match
  kTooLarge,    // more than kMaxDatSize, or no memory for it
};

// Reads the first entry of the zip at path whole and checked; a file that is no zip is read
// whole when it begins as a Logiqx or clrmamepro dat (a QVX dat comes zipped only).
DatRead ReadDatabaseFile(const char* path, char** dat, size_t* length);

enum class DatFormat { kQvx, kLogiqx, kClrmamepro };

// Told from the first bytes alone: XML markup, or a clrmamepro block such as "clrmamepro (";
// anything else is left to the QVX parser, which refuses what is not a QVX dat.
DatFormat SniffDatFormat(const char* text, size_t length);

// Parses a dat of any of the three formats into the cleared table and records how its names
// write countries (g_name_tags). The text is the caller's to give up: an XML dat is parsed in
// place, which changes it.
DatParse ParseDatabase(char* text, size_t length, DatRecordHook hook, void* context,
                       DatError* error);
