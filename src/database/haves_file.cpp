// haves_file.cpp: reading, appending and removing the haves file.
#include "database/haves_file.h"

#include <cstring>

#include "base/text.h"
#include "database/crc_index.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"

static bool HavesPath(char (&path)[kProgramFilePathSize]) {
  return ProgramFilePath(path, kHavesFileName);
}

void MarkHaves() {
  char path[kProgramFilePathSize];
  if (!HavesPath(path)) return;
  // "r+b" as the file is meant to be ours to write: a read-only one marks nothing.
  FILE* file = OpenFile(path, "r+b");
  if (file == nullptr) return;
  static CrcIndex index;  // static: the UI thread's stack is no place for a table's worth
  index.Build();
  char entry[kHaveEntrySize + 1] = {};
  // A short tail (an append cut off) is not a whole entry and is passed over.
  while (fread(entry, kHaveEntrySize, 1, file) == 1) {
    index.ForEachMatch(entry, [](int i) { SetOwned(g_roms[i], true); });
  }
  CloseFile(file);
}

// The length of the file behind an open stream, or -1.
static long StreamLength(FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) return -1;
  return ftell(file);
}

// Unbuffered, so that each entry is one write that is in the file when fwrite returns.
static FILE* OpenUnbuffered(const char* path) {
  FILE* file = OpenFile(path, "a+b");
  if (file != nullptr) setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

// The haves file opened for appending, with a torn tail cut back to the last whole entry; *whole
// is then its length. nullptr when it cannot be opened or mended.
static FILE* OpenForAppend(const char* path, long* whole) {
  FILE* file = OpenUnbuffered(path);
  if (file == nullptr) return nullptr;
  long length = StreamLength(file);
  if (length < 0) {
    CloseFile(file);
    return nullptr;
  }
  *whole = length - length % kHaveEntrySize;
  if (*whole == length) return file;
  // An earlier append was cut short; cut back so that this entry and every later one stay
  // aligned.
  CloseFile(file);
  if (!ResizeFile(path, *whole)) return nullptr;
  return OpenUnbuffered(path);
}

// The scan's kept-open haves file; appends reach the file by the same single write either way.
static struct {
  bool active;
  FILE* file;  // nullptr until the first append, or after a failed one
  long whole;  // its length: whole entries only
} g_kept;

void BeginHaveAppends() { g_kept = {true, nullptr, 0}; }

void EndHaveAppends() {
  if (g_kept.file != nullptr) CloseFile(g_kept.file);
  g_kept = {false, nullptr, 0};
}

void AppendHave(int index) {
  char path[kProgramFilePathSize];
  if (!HavesPath(path)) return;
  FILE* file = g_kept.file;
  long whole = g_kept.whole;
  if (file == nullptr) file = OpenForAppend(path, &whole);
  if (file == nullptr) return;
  bool written = fwrite(g_roms[index].crc, kHaveEntrySize, 1, file) == 1;
  if (g_kept.active && written) {
    g_kept.file = file, g_kept.whole = whole + kHaveEntrySize;
    return;
  }
  // Closed after a single append, and after a failed one, which the next append reopens and
  // mends.
  g_kept.file = nullptr;
  bool closed = CloseFile(file) == 1;
  if (!written || !closed) ResizeFile(path, whole);  // never leave half an entry behind
}

void ForgetHaves() {
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  char path[kProgramFilePathSize];
  if (HavesPath(path)) RemovePath(path);
}
