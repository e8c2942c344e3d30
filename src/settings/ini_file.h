// ini_file.h: the format of qvxgba.ini: key=value lines, parsed from the file's bytes and
// written to a file. Which file, and what the values do, is the caller's.
#pragma once

#include <cstddef>

#include "base/text.h"
#include "settings/settings.h"

constexpr char kIniFileName[] = "qvxgba.ini";

// The three path lines, DB, SRC and DEST, in this order. A path holds at most 259 characters.
constexpr int kIniPathCount = 3;
extern const char* const kIniPathKeys[kIniPathCount];

struct IniPaths {
  bool present[kIniPathCount];  // a line gave the path; absent ones leave their field alone
  char value[kIniPathCount][kPathFieldSize];
};

// The path lines of the file: a later line replaces an earlier one, an empty value or a bare
// key as the last line gives an empty path, and a value longer than 259 characters is passed
// over as if its line were not there (it would be used cut, naming another file or folder).
void ParseIniPaths(const char* bytes, size_t length, IniPaths* paths);

// The option lines, applied to settings: a flag's key turns it on whatever follows the "=",
// NAME and TYPE take the one digit after it (anything else gives 0). Keys match exactly.
void ParseIniOptions(const char* bytes, size_t length, Settings* settings);

// Writes the file at path: to path".new" first, which replaces the old file only once every
// line reached the disk. 0 on any failure, with the old file as it was.
int WriteIniFile(const char* path, const char* const (&paths)[kIniPathCount],
                 const Settings& settings);
