// log_files.h: the five logs of a scan's per-file outcomes, in the program directory.
#pragma once

#include <cstdio>

enum class Log {
  kMultipleCopies,  // display name, bare file name of the duplicate just found
  kWrongName,       // compare name, display name
  kNotMoved,        // bare file name
  kUnmatched,       // full path
  kMultiRom,        // full path
};

// The logs as one scan writes them: each opened at its first line and held open until the
// writer goes, instead of once per line. Another program may read, rename or delete a log
// meanwhile.
class LogWriter {
 public:
  LogWriter() = default;
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;
  ~LogWriter();

  // With LOG on, appends one line to the log; the line is in the file when this returns. With
  // LOG off, or when the file cannot be opened, nothing happens. second is used by the two
  // logs that name two things.
  void Write(Log log, const char* first, const char* second = "");

 private:
  FILE* files_[static_cast<int>(Log::kMultiRom) + 1] = {};  // by Log; nullptr until a first line
};
