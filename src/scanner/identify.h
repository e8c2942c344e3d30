// identify.h: what ROM image a file holds, by CRC-32; database/crc_index.h finds the records
// that key matches.
#pragma once

#include "base/text.h"

// The outcome for one file; every scan builds its own.
struct Identity {
  char key[9];        // "%08x" of the image's CRC-32; empty when no image was found
  int image_count;    // 0 not a ROM file, 1 identified, more: a zip of several images
  char extension[4];  // "zip" when the key came from an archive, otherwise "gba"
};

// Identifies the file at full_path (folder, "\" and file_name). A ".zip" (any case) is known
// by the CRC its central directory stores for its ".gba" member, without decompressing; a
// ".gba" (any case) by the CRC of its content. Problems go to standard output only.
Identity IdentifyFile(const char* full_path, const char* file_name);
