// real_file_system.h: the platform's own file layer under Real* names. The fault tests'
// build compiles the platform source with its functions renamed so, and the failing layer
// wraps them.
#pragma once

#include <cstdio>

#include "platform/file_system.h"

FILE* RealOpenFile(const char* path, const char* mode);
int RealCloseFile(FILE* file);
int RealFlushFile(FILE* file);
int RealRemovePath(const char* path);
int RealReplacePath(const char* from, const char* to);
int RealResizeFile(const char* path, long size);
int RealExecutablePath(char* out, int size);
FolderListing* RealOpenFolderListing(const char* pattern);
int RealNextFolderEntry(FolderListing* listing, FolderEntry* entry);
void RealCloseFolderListing(FolderListing* listing);
int RealIsFolder(const char* path);
int RealMakeDirectory(const char* path);
int RealMovePath(const char* from, const char* to);
