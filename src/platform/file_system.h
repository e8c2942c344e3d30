// file_system.h: the file operations of the core. Paths come in the system's own format,
// joined with "\"; each implementation maps them to its platform at this boundary.
#pragma once

#include <cstdio>

// fopen with a system-format path; nullptr on failure.
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
