// zip_file.h: opening a zip archive for minizip through our own file operations.
#pragma once

#include <unzip.h>

// unzOpen with a system-format path; nullptr when the file is missing or not a zip.
unzFile OpenZip(const char* path);
