// zip_file.cpp: minizip reads through OpenFile, so our path format and file layer apply.
#include "platform/zip_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/file_system.h"

namespace {

// minizip finds the end record and walks the central directory in many reads of a few bytes,
// each after a seek. Both lie at the end of the file, so its last bytes are read once at open
// and served from memory; only reads elsewhere (a member's data) go to the file. A scan then
// costs one open, one read and one close per zip.
constexpr long kTailSize = 64 * 1024;

struct ZipStream {
  FILE* file;
  long size;        // the file's length
  long tail_start;  // file offset of tail[0]; the tail runs to the end of the file
  long position;    // where the next read starts, as minizip sees it
  bool failed;      // a read of the file went wrong
  unsigned char tail[kTailSize];
};

voidpf ZCALLBACK ZipOpen(voidpf, const char* filename, int mode) {
  // Only reading is ever asked of this layer.
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  FILE* file = OpenFile(filename, "rb");
  if (file == nullptr) return nullptr;
  ZipStream* stream = new (std::nothrow) ZipStream;
  if (stream != nullptr && fseek(file, 0, SEEK_END) == 0) {
    long size = ftell(file);
    if (size >= 0) {
      long tail_start = size > kTailSize ? size - kTailSize : 0;
      stream->file = file, stream->size = size, stream->tail_start = tail_start;
      stream->position = 0, stream->failed = false;
      size_t tail_size = static_cast<size_t>(size - tail_start);
      if (fseek(file, tail_start, SEEK_SET) == 0 &&
          fread(stream->tail, 1, tail_size, file) == tail_size)
        return stream;
    }
  }
  // Too large for a long, or unreadable: no zip minizip could walk either.
  delete stream;
  CloseFile(file);
  return nullptr;
}

uLong ZCALLBACK ZipRead(voidpf, voidpf opaque, void* buf, uLong size) {
  ZipStream& stream = *static_cast<ZipStream*>(opaque);
  if (stream.position >= stream.size || size == 0) return 0;
  uLong left = static_cast<uLong>(stream.size - stream.position);
  if (size > left) size = left;
  if (stream.position >= stream.tail_start) {
    memcpy(buf, stream.tail + (stream.position - stream.tail_start), size);
    stream.position += static_cast<long>(size);
    return size;
  }
  if (fseek(stream.file, stream.position, SEEK_SET) != 0) {
    stream.failed = true;
    return 0;
  }
  size_t got = fread(buf, 1, size, stream.file);
  if (got < size) stream.failed = true;
  stream.position += static_cast<long>(got);
  return static_cast<uLong>(got);
}

uLong ZCALLBACK ZipWrite(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK ZipTell(voidpf, voidpf opaque) { return static_cast<ZipStream*>(opaque)->position; }

long ZCALLBACK ZipSeek(voidpf, voidpf opaque, uLong offset, int origin) {
  ZipStream& stream = *static_cast<ZipStream*>(opaque);
  long base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = stream.position;
  if (origin == ZLIB_FILEFUNC_SEEK_END) base = stream.size;
  // Offsets are at most a long's worth, as fseek would take them; past the end is allowed and
  // reads nothing there, before the start is refused.
  long long target = static_cast<long long>(base) + static_cast<long long>(offset);
  if (offset > static_cast<uLong>(LONG_MAX) || target < 0 || target > LONG_MAX) return -1;
  stream.position = static_cast<long>(target);
  return 0;
}

int ZCALLBACK ZipClose(voidpf, voidpf opaque) {
  ZipStream* stream = static_cast<ZipStream*>(opaque);
  int closed = CloseFile(stream->file);
  delete stream;
  return closed ? 0 : EOF;
}

int ZCALLBACK ZipError(voidpf, voidpf opaque) {
  ZipStream& stream = *static_cast<ZipStream*>(opaque);
  return stream.failed || ferror(stream.file);
}

}  // namespace

unzFile OpenZip(const char* path) {
  zlib_filefunc_def functions = {ZipOpen, ZipRead,  ZipWrite, ZipTell,
                                 ZipSeek, ZipClose, ZipError, nullptr};
  return unzOpen2(path, &functions);
}
