// failing_file_system.cpp: every file operation of the core goes through here to the real
// platform layer, counted by kind; the armed one fails instead, as a full disk, a vanished
// folder or a locked file would make it fail.
#include "fault/failing_file_system.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "fault/real_file_system.h"
#include "platform/file_system.h"

#ifdef __GLIBC__
#include <unistd.h>
#endif

namespace {

std::mutex g_mutex;  // a scan calls in from its worker thread
int g_counts[kFaultKinds];
Fault g_armed_kind = Fault::kOpen;
int g_armed_at = 0;  // 0: nothing armed
bool g_from_then_on = false;
bool g_fired = false;

// Counts one operation; true when it is the one to fail.
bool Fails(Fault kind) {
  std::lock_guard<std::mutex> lock(g_mutex);
  int n = ++g_counts[static_cast<int>(kind)];
  if (g_armed_at == 0 || kind != g_armed_kind) return false;
  if (n != g_armed_at && !(g_from_then_on && n > g_armed_at)) return false;
  g_fired = true;
  return true;
}

#ifdef __GLIBC__
// A stream opened for writing is a cookie stream over the real file's descriptor, so a write
// can reach the disk in part and then fail. The real FILE* is kept only to be closed.
struct Stream {
  FILE* real;
  int fd;
  bool lose_buffered;  // a failed close or flush: what is still buffered never arrives
  // Small, so long outputs reach the disk in many writes, each a point to fail at. glibc
  // takes a buffer size from setvbuf only with a buffer.
  char buffer[256];
};
std::map<FILE*, Stream*> g_streams;

ssize_t StreamRead(void* cookie, char* buffer, size_t size) {
  return read(static_cast<Stream*>(cookie)->fd, buffer, size);
}

ssize_t StreamWrite(void* cookie, const char* buffer, size_t size) {
  Stream* stream = static_cast<Stream*>(cookie);
  if (stream->lose_buffered) {
    errno = EIO;
    return 0;
  }
  // A full disk takes what fits and refuses the rest.
  size_t room = Fails(Fault::kWrite) ? size / 2 : size;
  size_t done = 0;
  while (done < room) {
    ssize_t written = write(stream->fd, buffer + done, room - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    done += static_cast<size_t>(written);
  }
  if (done < size) errno = ENOSPC;
  return static_cast<ssize_t>(done);
}

int StreamSeek(void* cookie, off64_t* offset, int whence) {
  off64_t at = lseek64(static_cast<Stream*>(cookie)->fd, *offset, whence);
  if (at < 0) return -1;
  *offset = at;
  return 0;
}

int StreamClose(void* cookie) {
  Stream* stream = static_cast<Stream*>(cookie);
  int closed = RealCloseFile(stream->real);
  delete stream;
  return closed ? 0 : -1;
}

bool Writes(const char* mode) { return strpbrk(mode, "wa+") != nullptr; }

FILE* WrapForWriting(FILE* real, const char* mode) {
  Stream* stream = new Stream{real, fileno(real), false, {}};
  FILE* file = fopencookie(stream, mode, {StreamRead, StreamWrite, StreamSeek, StreamClose});
  if (file == nullptr) {
    RealCloseFile(real);
    delete stream;
    return nullptr;
  }
  setvbuf(file, stream->buffer, _IOFBF, sizeof stream->buffer);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_streams[file] = stream;
  return file;
}

// The cookie of one of our streams, taken off the list when closing; nullptr for a stream
// opened for reading only, which is the real one.
Stream* CookieOf(FILE* file, bool closing) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto found = g_streams.find(file);
  if (found == g_streams.end()) return nullptr;
  Stream* stream = found->second;
  if (closing) g_streams.erase(found);
  return stream;
}
#endif

}  // namespace

const char* FaultName(Fault kind) {
  static const char* const kNames[kFaultKinds] = {"open",  "write",  "close",  "move",
                                                  "mkdir", "remove", "resize", "list"};
  return kNames[static_cast<int>(kind)];
}

void ResetFaults() {
  std::lock_guard<std::mutex> lock(g_mutex);
  for (int& count : g_counts) count = 0;
  g_armed_at = 0;
  g_from_then_on = false;
  g_fired = false;
}

void ArmFault(Fault kind, int n, bool from_then_on) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_armed_kind = kind;
  g_armed_at = g_counts[static_cast<int>(kind)] + n;
  g_from_then_on = from_then_on;
  g_fired = false;
}

int FaultCount(Fault kind) {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_counts[static_cast<int>(kind)];
}

bool FaultFired() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_fired;
}

#ifdef __GLIBC__
bool CanFailWrites() { return true; }
#else
bool CanFailWrites() { return false; }
#endif

FILE* OpenFile(const char* path, const char* mode) {
  if (Fails(Fault::kOpen)) {
    errno = EACCES;
    return nullptr;
  }
  FILE* file = RealOpenFile(path, mode);
#ifdef __GLIBC__
  if (file != nullptr && Writes(mode)) return WrapForWriting(file, mode);
#endif
  return file;
}

int CloseFile(FILE* file) {
  bool fail = Fails(Fault::kClose);
#ifdef __GLIBC__
  if (Stream* stream = CookieOf(file, true)) {
    stream->lose_buffered = fail;
    bool closed = fclose(file) == 0;  // closes the real file through the cookie
    return closed && !fail ? 1 : 0;
  }
#endif
  int closed = RealCloseFile(file);
  return fail ? 0 : closed;
}

int FlushFile(FILE* file) {
  bool fail = Fails(Fault::kClose);
#ifdef __GLIBC__
  if (Stream* stream = CookieOf(file, false)) {
    stream->lose_buffered = fail;
    bool flushed = fflush(file) == 0;
    stream->lose_buffered = false;
    return flushed && !fail && RealFlushFile(stream->real) ? 1 : 0;
  }
#endif
  return fail ? 0 : RealFlushFile(file);
}

int RemovePath(const char* path) { return Fails(Fault::kRemove) ? 0 : RealRemovePath(path); }

int ReplacePath(const char* from, const char* to) {
  return Fails(Fault::kMove) ? 0 : RealReplacePath(from, to);
}

int ResizeFile(const char* path, long size) {
  return Fails(Fault::kResize) ? 0 : RealResizeFile(path, size);
}

int ExecutablePath(char* out, int size) { return RealExecutablePath(out, size); }

FolderListing* OpenFolderListing(const char* pattern) {
  return Fails(Fault::kList) ? nullptr : RealOpenFolderListing(pattern);
}

int NextFolderEntry(FolderListing* listing, FolderEntry* entry) {
  return RealNextFolderEntry(listing, entry);
}

void CloseFolderListing(FolderListing* listing) { RealCloseFolderListing(listing); }

// A query: it changes nothing, so there is nothing to fail.
int IsFolder(const char* path) { return RealIsFolder(path); }

int MakeDirectory(const char* path) {
  return Fails(Fault::kMakeDirectory) ? 0 : RealMakeDirectory(path);
}

int MovePath(const char* from, const char* to) {
  return Fails(Fault::kMove) ? 0 : RealMovePath(from, to);
}
