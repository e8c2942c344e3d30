// file_system_posix.cpp: the file operations on POSIX; "\" in our paths becomes "/".
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "base/text.h"
#include "platform/file_system.h"

namespace {

// A system path as a native one. Paths longer than PATH_MAX-ish buffers are refused.
class NativePath {
 public:
  explicit NativePath(const char* path) {
    fits_ = CopyText(path_, path);
    for (char* p = path_; *p; ++p)
      if (*p == '\\') *p = '/';
  }
  bool fits() const { return fits_; }
  const char* get() const { return path_; }

 private:
  char path_[4096];
  bool fits_;
};

}  // namespace

FILE* OpenFile(const char* path, const char* mode) {
  NativePath native(path);
  if (!native.fits() || native.get()[0] == '\0') return nullptr;
  return fopen(native.get(), mode);
}

int CloseFile(FILE* file) { return fclose(file) == 0 ? 1 : 0; }

int FlushFile(FILE* file) {
  if (fflush(file) != 0) return 0;
  return fsync(fileno(file)) == 0 ? 1 : 0;
}

int RemovePath(const char* path) {
  NativePath native(path);
  return native.fits() && unlink(native.get()) == 0 ? 1 : 0;
}

int ReplacePath(const char* from, const char* to) {
  NativePath native_from(from), native_to(to);
  if (!native_from.fits() || !native_to.fits()) return 0;
  return rename(native_from.get(), native_to.get()) == 0 ? 1 : 0;
}

int ResizeFile(const char* path, long size) {
  NativePath native(path);
  return native.fits() && truncate(native.get(), size) == 0 ? 1 : 0;
}

int ExecutablePath(char* out, int size) {
  if (size <= 1) return 0;
  ssize_t length = readlink("/proc/self/exe", out, static_cast<size_t>(size) - 1);
  if (length <= 0) return 0;
  out[length] = '\0';
  for (char* p = out; *p; ++p)
    if (*p == '/') *p = '\\';
  return 1;
}
