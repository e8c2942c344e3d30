// dat_parser.h: the QVX dat parsed into the ROM table, and what every dat reader shares.
#pragma once

#include <cstddef>
#include <cstdint>

// Called after each record is stored, with its index.
using DatRecordHook = void (*)(int index, void* context);

enum class DatParse {
  kParsed,     // the table holds the dat's records (possibly none)
  kNotADat,    // a QVX dat's first line is not "[QVXDAT]"; nothing was stored
  kMalformed,  // a Logiqx or clrmamepro dat that is not well formed; the table is empty
  kNoMemory,   // no memory for an XML dat's document; the table is empty
};

// Where and what, for the second line of "Invalid Dat File!". Readers set offset, a byte of
// the dat; the line is worked out from it once, when the reader has given up.
struct DatError {
  size_t offset = 0;
  int line = 0;
  char what[160] = "";
};

// Parses an expanded QVX dat into the cleared table: 1 when it is a dat (also with no ROM
// lines), 0 when its first line is not "[QVXDAT]", before any record was written. Lines past
// the table's 8096 records are ignored.
int ParseDat(const char* text, size_t length, DatRecordHook hook = nullptr,
             void* context = nullptr);

// A size field as atoi reads it (blanks, sign, digits), clamped to 32 bits.
int32_t ParseDatSize(const char* text);
