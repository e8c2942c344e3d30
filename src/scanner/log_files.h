// log_files.h: the five logs of a scan's per-file outcomes, in the program directory.
#pragma once

enum class Log {
  kMultipleCopies,  // display name, bare file name of the duplicate just found
  kWrongName,       // compare name, display name
  kNotMoved,        // bare file name
  kUnmatched,       // full path
  kMultiRom,        // full path
};

// With LOG on, appends one line to the log; the line is in the file when this returns. With
// LOG off, or when the file cannot be opened, nothing happens. second is used by the two logs
// that name two things.
void WriteLogLine(Log log, const char* first, const char* second = "");

// Between these two (one scan), a log is opened at its first line and kept open; otherwise
// each line opens and closes its file.
void BeginLogLines();
void EndLogLines();
