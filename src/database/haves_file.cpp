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

// Cuts a torn tail (an append cut short) back to the last whole entry, judged by the file's
// length now: another copy of the program may have appended since this one last wrote, and
// its entries stay. false when the file could not be measured or cut.
static bool CutTornTail(const char* path, FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) return false;
  long length = ftell(file);
  if (length < 0) return false;
  return length % kHaveEntrySize == 0 || ResizeFile(path, length - length % kHaveEntrySize);
}

// Unbuffered, so that each entry is one write that is in the file when fwrite returns; mended
// first, so that this entry and every later one stay aligned.
static FILE* OpenForAppend(const char* path) {
  FILE* file = OpenFile(path, "a+b");
  if (file == nullptr) return nullptr;
  setvbuf(file, nullptr, _IONBF, 0);
  if (CutTornTail(path, file)) return file;
  CloseFile(file);
  return nullptr;
}

HaveAppender::~HaveAppender() {
  if (file_ != nullptr) CloseFile(file_);
}

void HaveAppender::Append(int index) {
  char path[kProgramFilePathSize];
  if (!HavesPath(path)) return;
  if (file_ == nullptr) file_ = OpenForAppend(path);
  if (file_ == nullptr) return;
  if (fwrite(g_roms[index].crc, kHaveEntrySize, 1, file_) == 1) return;
  // Part of the entry may have reached the file: never leave half an entry behind. Closed, so
  // that the next entry reopens the file and mends it again if this cut failed.
  CutTornTail(path, file_);
  CloseFile(file_);
  file_ = nullptr;
}

void ForgetHaves() {
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  char path[kProgramFilePathSize];
  if (HavesPath(path)) RemovePath(path);
}
