// log_files.cpp: one line per event, appended in text mode; a log never stops a scan.
#include "scanner/log_files.h"

#include <cstdio>

#include "platform/file_system.h"
#include "settings/settings.h"
#include "platform/program_dir.h"

static const char* FileNameOf(Log log) {
  switch (log) {
    case Log::kMultipleCopies:
      return "multifiles.txt";
    case Log::kWrongName:
      return "wrongnames.txt";
    case Log::kNotMoved:
      return "notmoved.txt";
    case Log::kUnmatched:
      return "unknown.txt";
    case Log::kMultiRom:
      return "multifilezip.txt";
  }
  return "";
}

LogWriter::~LogWriter() {
  for (FILE* file : files_)
    if (file != nullptr) CloseFile(file);
}

void LogWriter::Write(Log log, const char* first, const char* second) {
  if (!g_settings.LOG) return;
  FILE*& file = files_[static_cast<int>(log)];
  if (file == nullptr) {
    char path[kProgramFilePathSize];
    if (!ProgramFilePath(path, FileNameOf(log))) return;
    file = OpenFile(path, "a+t");
    if (file == nullptr) return;
  }
  // Literal formats, so the compiler checks each line against its values.
  switch (log) {
    case Log::kMultipleCopies:
      fprintf(file, "Multiple Copies of %s Found (original file: %s)\n", first, second);
      break;
    case Log::kWrongName:
      fprintf(file, "File %s has wrong name: right: %s\n", first, second);
      break;
    case Log::kNotMoved:
      fprintf(file, "Unable To move file %s\n", first);
      break;
    case Log::kUnmatched:
      fprintf(file, "Unkown Rom %s\n", first);
      break;
    case Log::kMultiRom:
      fprintf(file, "More than one rom found in %s skipping\n", first);
      break;
  }
  // Flushed line by line, so a run cut short keeps every line written before.
  fflush(file);
}
