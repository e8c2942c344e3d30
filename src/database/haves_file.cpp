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

void AppendHave(int index) {
  char path[kProgramFilePathSize];
  if (!HavesPath(path)) return;
  FILE* file = OpenFile(path, "a+b");
  if (file == nullptr) return;
  long length = StreamLength(file);
  if (length < 0) {
    CloseFile(file);
    return;
  }
  long whole = length - length % kHaveEntrySize;
  if (whole != length) {
    // An earlier append was cut short; cut back to the last whole entry so that this one
    // and every later one stay aligned.
    CloseFile(file);
    if (!ResizeFile(path, whole)) return;
    file = OpenFile(path, "a+b");
    if (file == nullptr) return;
  }
  bool written = fwrite(g_roms[index].crc, kHaveEntrySize, 1, file) == 1;
  bool closed = CloseFile(file) == 1;
  if (!written || !closed) ResizeFile(path, whole);  // never leave half an entry behind
}

void ForgetHaves() {
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  char path[kProgramFilePathSize];
  if (HavesPath(path)) RemovePath(path);
}
