// zip_writer.cpp: one writer of zip archives for everything that makes them.
#include "tools/zip_writer.h"

#include <zip.h>
#include <zlib.h>

bool WriteZipArchive(const std::string& path, const std::vector<ZipMember>& members) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const ZipMember& member : members) {
    zip_fileinfo info = {};
    ok = ok &&
         zipOpenNewFileInZip(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             member.deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
         zipWriteInFileInZip(zip, member.data.data(), static_cast<unsigned>(member.data.size())) ==
             ZIP_OK &&
         zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}
