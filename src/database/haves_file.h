// haves_file.h: ownership remembered between runs, 8 bytes per owned ROM, no header, in the
// program directory.
#pragma once

constexpr char kHavesFileName[] = "qvxgba.db";
constexpr int kHaveEntrySize = 8;

// Marks every loaded record whose crc a haves entry names, case-insensitively.
void MarkHaves();

#include <cstdio>

// The haves file as one scan appends to it: opened at the first entry and held open until the
// appender goes, instead of once per entry. Another program (another copy of this one
// included) may read, append to, rename or delete the file meanwhile.
class HaveAppender {
 public:
  HaveAppender() = default;
  HaveAppender(const HaveAppender&) = delete;
  HaveAppender& operator=(const HaveAppender&) = delete;
  ~HaveAppender();

  // Appends the first 8 bytes of record index's crc, as one unbuffered write: the entry is in
  // the file when this returns. Failures are silent: the record stays owned in memory, and the
  // file remains a whole number of entries.
  void Append(int index);

 private:
  FILE* file_ = nullptr;  // nullptr until the first entry, and after a failed one
};

// Forgets all ownership: every have flag cleared and the haves file removed.
void ForgetHaves();
