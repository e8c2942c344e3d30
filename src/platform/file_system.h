// file_system.h: the file operations of the core. Paths come in the system's own format,
// joined with "\"; each implementation maps them to its platform at this boundary.
#pragma once

#include <cstdio>

// fopen with a system-format path and one of the modes "rb", "r+b", "wt", "a+b" or "a+t";
// nullptr on failure. While the file is open, other programs may still read, write, rename and
// delete it, under Windows as elsewhere: a scan holds its haves file and logs open for its
// whole run.
FILE* OpenFile(const char* path, const char* mode);

// Closes a stream; 1 when everything buffered reached the file.
int CloseFile(FILE* file);

// Flushes a stream through to the disk; 1 on success.
int FlushFile(FILE* file);

// Removes a file; 1 on success.
int RemovePath(const char* path);

// Renames from over to, replacing to if it exists, in one step; 1 on success.
int ReplacePath(const char* from, const char* to);

// Cuts or extends a file to size bytes; 1 on success.
int ResizeFile(const char* path, long size);

// The running executable's full path in the system's format; 1 on success.
int ExecutablePath(char* out, int size);

// A folder's entries, as the scanner walks them.
constexpr int kEntryNameSize = 260;
struct FolderEntry {
  char name[kEntryNameSize];
  bool is_directory;
};

// An open enumeration; the platform owns its layout.
struct FolderListing;

// Starts enumerating pattern, a folder followed by "\*" ("C:\ROMS\*", "C:\*"). Entries come
// in the order the file system returns them, "." and ".." included where it gives them.
// nullptr when the folder cannot be read.
FolderListing* OpenFolderListing(const char* pattern);

// The next entry; 0 when the listing is done. Names that do not fit an entry are passed over.
int NextFolderEntry(FolderListing* listing, FolderEntry* entry);

// Ends a listing; nullptr is allowed and does nothing.
void CloseFolderListing(FolderListing* listing);

// 1 when path names an existing folder (a drive root in its "D:\" form included), 0 when
// it is missing, a file, or cannot be reached.
int IsFolder(const char* path);

// Creates one folder; 0 when it could not be made, also when it exists already.
int MakeDirectory(const char* path);

// Moves a file to a new path, across folders and volumes, and never over an existing file:
// the move fails when to exists, also when it appears meanwhile. A source and target that
// differ only in letter case rename the file. 1 on success; on failure the source is intact.
int MovePath(const char* from, const char* to);
