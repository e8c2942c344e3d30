// placement.h: what happens to a file whose ROM is known: ownership, then by mode a report,
// a move under the database name, or a move under its own name.
#pragma once

#include "database/haves_file.h"
#include "scanner/log_files.h"

// What a run does with the files it identifies: Scan only reports, Rename moves a file under
// its database name, Move under its own name.
enum class ScanMode { kScan, kRename, kMove };

// One identified file, as the scan worker hands it over for each matching record.
struct ScanFile {
  const char* full_path;  // folder, "\" and name
  const char* name;       // bare file name with its extension
  const char* extension;  // target extension, "zip" or "gba"
  bool matched;           // set by every placement
  char moved_to[1024];    // where a placement moved the file; empty while it has not moved
};

// The files a scan writes as it goes: held open for the whole run, owned by it and closed when
// it ends, whichever way it ends.
struct ScanOutputs {
  HaveAppender haves;
  LogWriter logs;
};

// Places file for record index: marks the record owned and appends its crc to the haves file,
// or treats the file as a duplicate when the record was owned already; then by mode reports
// it, or moves it into dest, the destination folder after the drive-root cut ("D:" for
// "D:\"). Per-file problems go to the logs; a file that cannot be moved stays where it was.
void PlaceFile(int index, ScanFile& file, const char* dest, ScanMode mode, ScanOutputs& out);

// True when name can stand as one file or folder name on Windows without leaving its folder:
// no "\", "/", ":", "*", "?", '"', "<", ">", "|" or control character, not "." or "..", and
// not a device name such as CON, NUL, CONIN$, COM1 or LPT1 (with or without an extension). Names
// come from the database, which is untrusted.
bool IsSafeName(const char* name);
