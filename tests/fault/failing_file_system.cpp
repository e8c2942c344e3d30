// failing_file_system.cpp: every file operation of the core goes through here to the real
// platform layer (compiled again with its functions renamed Real*), counted by kind; the armed
// one fails instead, as a full disk, a vanished folder or a locked file would make it fail.
#include "fault/failing_file_system.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/file_system.h"

#ifdef __GLIBC__
#include <unistd.h>
#endif

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

namespace {

std::mutex g_mutex;  // a scan calls in from its worker thread
int g_counts[kFaultKinds];
Fault g_armed_kind = Fault::kOpen;
int g_armed_at = 0;  // 0: nothing armed
bool g_from_then_on = false, g_fired = false;

// Counts one operation; true when it is the one to fail.
bool Fails(Fault kind) {
  std::lock_guard<std::mutex> lock(g_mutex);
  int n = ++g_counts[static_cast<int>(kind)];
  bool fails = g_armed_at != 0 && kind == g_armed_kind &&
               (n == g_armed_at || (g_from_then_on && n > g_armed_at));
  return g_fired = g_fired || fails, fails;
}

#ifdef __GLIBC__
// A stream opened for writing is a cookie stream over the real file's descriptor, so a write
// can reach the disk in part and then fail; the real FILE* is kept only to be closed. Windows
// has no such streams: there writes never fail part-way.
struct Stream {
  FILE* real;
  bool lose_buffered;  // a failed close or flush: what is still buffered never arrives
  // Small, so long outputs reach the disk in many writes, each a point to fail at. glibc
  // takes a buffer size from setvbuf only with a buffer.
  char buffer[256];
};
std::map<FILE*, Stream*> g_streams;

ssize_t StreamRead(void* cookie, char* buffer, size_t size) {
  return read(fileno(static_cast<Stream*>(cookie)->real), buffer, size);
}

ssize_t StreamWrite(void* cookie, const char* buffer, size_t size) {
  Stream* stream = static_cast<Stream*>(cookie);
  // A full disk takes what fits and refuses the rest.
  size_t room = stream->lose_buffered ? 0 : Fails(Fault::kWrite) ? size / 2 : size;
  ssize_t done = room == 0 ? 0 : write(fileno(stream->real), buffer, room);
  errno = ENOSPC;
  return done;
}

int StreamSeek(void* cookie, off64_t* offset, int whence) {
  *offset = lseek64(fileno(static_cast<Stream*>(cookie)->real), *offset, whence);
  return *offset < 0 ? -1 : 0;
}

int StreamClose(void* cookie) {
  Stream* stream = static_cast<Stream*>(cookie);
  int closed = RealCloseFile(stream->real);
  delete stream;
  return closed ? 0 : -1;
}

// Our stream for file, taken off the list when closing; nullptr for a stream opened for
// reading only, which is the real one.
Stream* CookieOf(FILE* file, bool closing) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto found = g_streams.find(file);
  Stream* stream = found == g_streams.end() ? nullptr : found->second;
  if (stream != nullptr && closing) g_streams.erase(found);
  return stream;
}
#endif

}  // namespace

const char* FaultName(Fault kind) {
  static const char* const kNames[kFaultKinds] = {"open",  "write",  "close",  "move",
                                                  "mkdir", "remove", "resize", "list"};
  return kNames[static_cast<int>(kind)];
}

void ResetFaults() { ArmFault(Fault::kOpen, -1), std::fill_n(g_counts, kFaultKinds, 0); }

void ArmFault(Fault kind, int n, bool from_then_on) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_armed_kind = kind;
  g_armed_at = n < 0 ? 0 : g_counts[static_cast<int>(kind)] + n;
  g_from_then_on = from_then_on;
  g_fired = false;
}

int FaultCount(Fault kind) { return g_counts[static_cast<int>(kind)]; }  // after a run: no lock
bool FaultFired() { return g_fired; }

FILE* OpenFile(const char* path, const char* mode) {
  if (Fails(Fault::kOpen)) return errno = EACCES, nullptr;
  FILE* file = RealOpenFile(path, mode);
#ifdef __GLIBC__
  if (file == nullptr || strpbrk(mode, "wa+") == nullptr) return file;
  Stream* stream = new Stream{file, false, {}};
  FILE* cookie = fopencookie(stream, mode, {StreamRead, StreamWrite, StreamSeek, StreamClose});
  if (cookie == nullptr) return RealCloseFile(file), delete stream, nullptr;
  setvbuf(cookie, stream->buffer, _IOFBF, sizeof stream->buffer);
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_streams[cookie] = stream, cookie;
#else
  return file;
#endif
}

int CloseFile(FILE* file) {
  bool fail = Fails(Fault::kClose);
#ifdef __GLIBC__
  if (Stream* stream = CookieOf(file, true)) {
    stream->lose_buffered = fail;
    return fclose(file) == 0 && !fail;  // closes the real file through the cookie
  }
#endif
  return RealCloseFile(file) && !fail;
}

int FlushFile(FILE* file) {
  bool fail = Fails(Fault::kClose);
#ifdef __GLIBC__
  if (Stream* stream = CookieOf(file, false)) {
    stream->lose_buffered = fail;
    bool flushed = fflush(file) == 0;
    stream->lose_buffered = false;
    return flushed && !fail && RealFlushFile(stream->real);
  }
#endif
  return !fail && RealFlushFile(file);
}

int RemovePath(const char* path) { return !Fails(Fault::kRemove) && RealRemovePath(path); }
int ReplacePath(const char* from, const char* to) {
  return !Fails(Fault::kMove) && RealReplacePath(from, to);
}
int ResizeFile(const char* path, long size) {
  return !Fails(Fault::kResize) && RealResizeFile(path, size);
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
  return !Fails(Fault::kMakeDirectory) && RealMakeDirectory(path);
}
int MovePath(const char* from, const char* to) {
  return !Fails(Fault::kMove) && RealMovePath(from, to);
}
