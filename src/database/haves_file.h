// haves_file.h: ownership remembered between runs, 8 bytes per owned ROM, no header, in the
// program directory.
#pragma once

constexpr char kHavesFileName[] = "qvxgba.db";
constexpr int kHaveEntrySize = 8;

// Marks every loaded record whose crc a haves entry names, case-insensitively.
void MarkHaves();

// Appends the first 8 bytes of record index's crc, as one unbuffered write: the entry is in the
// file when this returns. Failures are silent: the record stays owned in memory, and the file
// always remains a whole number of entries.
void AppendHave(int index);

// Between these two (one scan), the haves file is opened once, at the first append, and kept
// open instead of being opened and closed for every entry.
void BeginHaveAppends();
void EndHaveAppends();

// Forgets all ownership: every have flag cleared and the haves file removed.
void ForgetHaves();
