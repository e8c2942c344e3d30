// zip_file.cpp: minizip reads through OpenFile, so our path format and file layer apply.
#include "platform/zip_file.h"

#include <cstdio>

#include "platform/file_system.h"

namespace {

voidpf ZCALLBACK ZipOpen(voidpf, const char* filename, int mode) {
  // Only reading is ever asked of this layer.
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  return OpenFile(filename, "rb");
}

uLong ZCALLBACK ZipRead(voidpf, voidpf stream, void* buf, uLong size) {
  return static_cast<uLong>(fread(buf, 1, size, static_cast<FILE*>(stream)));
}

uLong ZCALLBACK ZipWrite(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK ZipTell(voidpf, voidpf stream) { return ftell(static_cast<FILE*>(stream)); }

long ZCALLBACK ZipSeek(voidpf, voidpf stream, uLong offset, int origin) {
  int whence = SEEK_SET;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) whence = SEEK_CUR;
  if (origin == ZLIB_FILEFUNC_SEEK_END) whence = SEEK_END;
  return fseek(static_cast<FILE*>(stream), static_cast<long>(offset), whence) == 0 ? 0 : -1;
}

int ZCALLBACK ZipClose(voidpf, voidpf stream) {
  return CloseFile(static_cast<FILE*>(stream)) ? 0 : EOF;
}

int ZCALLBACK ZipError(voidpf, voidpf stream) { return ferror(static_cast<FILE*>(stream)); }

}  // namespace

unzFile OpenZip(const char* path) {
  zlib_filefunc_def functions = {ZipOpen, ZipRead,  ZipWrite, ZipTell,
                                 ZipSeek, ZipClose, ZipError, nullptr};
  return unzOpen2(path, &functions);
}
