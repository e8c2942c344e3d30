// haves_file.h: ownership remembered between runs, 8 bytes per owned ROM, no header, in the
// program directory.
#pragma once

constexpr char kHavesFileName[] = "qvxgba.db";
constexpr int kHaveEntrySize = 8;

// Marks every loaded record whose crc a haves entry names, case-insensitively.
void MarkHaves();

// Appends the first 8 bytes of record index's crc. Failures are silent: the record stays
// owned in memory, and the file always remains a whole number of entries.
void AppendHave(int index);

// Forgets all ownership: every have flag cleared and the haves file removed.
void ForgetHaves();
