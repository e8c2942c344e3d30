// dat_loader.h: turning a database zip into the ROM table.
#pragma once

#include <cstddef>

// The largest dat a database may claim to hold. A full dat of 8096 ROMs is about 1.5 MiB;
// anything claiming more than this is refused rather than allocated.
constexpr unsigned long kMaxDatSize = 64ul * 1024 * 1024;

// Loads the first entry of the zip at path as the dat. Returns 1 when the dat was read to
// its end (also with no ROM lines), 0 after a failure, which it reports in a message box
// captioned "Database Error" and which leaves the table empty and the commands disabled.
int LoadDatabase(const char* path);

// Parses an expanded dat into the table (the part of a load after the zip is read):
// 1 when it is a dat, 0 when its first line is not "[QVXDAT]". The loading title names the
// first ROM and then, at most every 30 ms, the ROM just parsed.
int ParseDat(const char* text, size_t length);
