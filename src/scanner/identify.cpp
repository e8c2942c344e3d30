// identify.cpp: loose images by their content, zips by their central directory.
#include "scanner/identify.h"

#include <cstdio>
#include <cstring>

#include "platform/file_system.h"
#include "platform/zip_file.h"
#include "scanner/crc32.h"

// True when the text from the name's last "." on equals extension, folding letter case; a
// name without a dot has no extension.
static bool HasExtension(const char* name, const char* extension) {
  const char* own = strrchr(name, '.');
  return own != nullptr && EqualFolded(own, extension);
}

static void CountZipImages(const char* full_path, Identity& identity, bool& from_zip) {
  unzFile zip = OpenZip(full_path);
  if (zip == nullptr) {
    printf("FUCKED ZIP = %s\n", full_path);
    return;
  }
  unzGoToFirstFile(zip);
  int status;
  do {
    unz_file_info info;
    char member[256];
    if (unzGetCurrentFileInfo(zip, &info, member, sizeof member, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      printf("FUCKED ZIP = %s\n", full_path);
    } else {
      member[sizeof member - 1] = '\0';  // a longer name arrives cut and unterminated
      if (HasExtension(member, ".gba")) {
        Format(identity.key, "%08lx", info.crc & 0xFFFFFFFFul);
        ++identity.image_count;
        from_zip = true;
      }
    }
    status = unzGoToNextFile(zip);
  } while (status == UNZ_OK);
  unzClose(zip);
}

static void CountLooseImage(const char* full_path, Identity& identity) {
  FILE* file = OpenFile(full_path, "rb");
  if (file == nullptr) {
    printf("cant open file");
    return;
  }
  uint32_t crc = CrcOfStream(file);
  // A read that failed part-way would give the CRC of a fragment, which could match another
  // ROM and rename the file wrongly; such a file is treated as unreadable.
  bool whole = !ferror(file);
  CloseFile(file);
  if (!whole) {
    printf("cant open file");
    return;
  }
  Format(identity.key, "%08x", static_cast<unsigned>(crc));
  ++identity.image_count;
}

Identity IdentifyFile(const char* full_path, const char* file_name) {
  Identity identity = {};
  bool from_zip = false;
  if (HasExtension(file_name, ".ZIP")) CountZipImages(full_path, identity, from_zip);
  if (HasExtension(file_name, ".GBA")) CountLooseImage(full_path, identity);
  CopyText(identity.extension, from_zip ? "zip" : "gba");
  return identity;
}
