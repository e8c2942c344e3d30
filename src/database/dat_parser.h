// dat_parser.h: the database zip's first entry read into memory, and the dat parsed from it
// into the ROM table.
#pragma once

#include <cstddef>

// The largest dat a database may claim to hold. A full dat of 8096 ROMs is about 1.5 MiB;
// anything claiming more than this is refused rather than allocated.
constexpr unsigned long kMaxDatSize = 64ul * 1024 * 1024;

enum class DatRead {
  kRead,        // *dat holds the whole entry; the caller frees it
  kUnreadable,  // no zip, no entry, a short read or a CRC that does not match
  kTooLarge,    // more than kMaxDatSize claimed, or no memory for it
};

// Reads the first entry of the zip at path whole and checked.
DatRead ReadDatEntry(const char* path, char** dat, size_t* length);

// Called after each record is stored, with its index.
using DatRecordHook = void (*)(int index, void* context);

// Parses an expanded dat into the cleared table: 1 when it is a dat (also with no ROM lines),
// 0 when its first line is not "[QVXDAT]", before any record was written. Lines past the
// table's 8096 records are ignored.
int ParseDat(const char* text, size_t length, DatRecordHook hook = nullptr,
             void* context = nullptr);
