// file_system_win32.cpp: the file operations on Windows, where our paths are native already.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/file_system.h"

FILE* OpenFile(const char* path, const char* mode) {
  if (path[0] == '\0') return nullptr;
  return fopen(path, mode);
}

int CloseFile(FILE* file) { return fclose(file) == 0 ? 1 : 0; }

int FlushFile(FILE* file) {
  if (fflush(file) != 0) return 0;
  return _commit(_fileno(file)) == 0 ? 1 : 0;
}

int RemovePath(const char* path) { return remove(path) == 0 ? 1 : 0; }

int ReplacePath(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

int ResizeFile(const char* path, long size) {
  int fd = _open(path, _O_RDWR | _O_BINARY);
  if (fd < 0) return 0;
  bool resized = _chsize(fd, size) == 0;
  return (_close(fd) == 0 && resized) ? 1 : 0;
}

int ExecutablePath(char* out, int size) {
  if (size <= 1) return 0;
  DWORD length = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
  // A full buffer means the path was cut; a cut path would name the wrong folder.
  if (length == 0 || length >= static_cast<DWORD>(size)) return 0;
  return 1;
}
