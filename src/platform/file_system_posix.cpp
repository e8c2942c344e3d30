// file_system_posix.cpp: the file operations on POSIX; "\" in our paths becomes "/".
#include <dirent.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

// Folder listings: the pattern's "*" is dropped and the folder read with readdir.
struct FolderListing {
  DIR* dir;
  char folder[4096];  // native, with its trailing "/"
  bool drive_root;
};

FolderListing* OpenFolderListing(const char* pattern) {
  NativePath native(pattern);
  size_t length = strlen(native.get());
  if (!native.fits() || length == 0 || native.get()[length - 1] != '*') return nullptr;
  FolderListing* listing = new FolderListing;
  // "X/*" lists X/; "C:*" (no separator) lists C:, relative like a Windows drive's current
  // folder, and is never what a caller of ours forms.
  CopyText(listing->folder, native.get());
  listing->folder[length - 1] = '\0';
  // "C:\*" lists a folder named "C:" in the working folder, which stands in for a drive;
  // like a Windows drive root, it lists no "." or "..".
  const char* folder = listing->folder;
  listing->drive_root = strlen(folder) == 3 && folder[1] == ':' && folder[2] == '/';
  listing->dir = opendir(folder[0] ? folder : ".");
  if (listing->dir == nullptr) {
    delete listing;
    return nullptr;
  }
  return listing;
}

int NextFolderEntry(FolderListing* listing, FolderEntry* entry) {
  while (struct dirent* found = readdir(listing->dir)) {
    bool dots = strcmp(found->d_name, ".") == 0 || strcmp(found->d_name, "..") == 0;
    if (dots && listing->drive_root) continue;
    // A "\" inside a name cannot be said in our path format, where it separates folders.
    if (strchr(found->d_name, '\\') != nullptr) continue;
    if (!CopyText(entry->name, found->d_name)) continue;
    // Fifos, sockets and devices do not exist on a Windows volume, and reading a fifo would
    // hang the scan, so they are passed over. Most file systems give the type with the name;
    // only a link (followed, as Windows follows its own) or an untyped entry costs a stat.
    if (found->d_type == DT_REG || found->d_type == DT_DIR) {
      entry->is_directory = found->d_type == DT_DIR;
      return 1;
    }
    if (found->d_type != DT_LNK && found->d_type != DT_UNKNOWN) continue;
    char path[4096 + kEntryNameSize];
    if (!Format(path, "%s%s", listing->folder, found->d_name)) continue;
    struct stat info;
    if (stat(path, &info) != 0) continue;
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) continue;
    entry->is_directory = S_ISDIR(info.st_mode);
    return 1;
  }
  return 0;
}

void CloseFolderListing(FolderListing* listing) {
  if (listing == nullptr) return;
  closedir(listing->dir);
  delete listing;
}

int IsFolder(const char* path) {
  NativePath native(path);
  struct stat info;
  if (!native.fits() || native.get()[0] == '\0' || stat(native.get(), &info) != 0) return 0;
  return S_ISDIR(info.st_mode) ? 1 : 0;
}

int MakeDirectory(const char* path) {
  NativePath native(path);
  return native.fits() && mkdir(native.get(), 0777) == 0 ? 1 : 0;
}

namespace {

// Writes all of size bytes; false on any failure.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Reads fd to its end, passing each block to take; false on a read error.
template <typename Take>
bool ReadBlocks(int fd, char (&buffer)[1 << 16], Take take) {
  for (;;) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got == 0) return true;
    if (got < 0 || !take(static_cast<size_t>(got))) return false;
  }
}

// Copies from into a new file at to (created exclusively), flushed to the disk and read back:
// the source is removed only once the copy is known to be whole. On any failure the partial
// copy is removed.
bool CopyExclusive(const char* from, const char* to, mode_t mode) {
  int in = open(from, O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0777);
  if (out < 0) {
    close(in);
    return false;
  }
  static thread_local char buffer[1 << 16];
  auto crc_of = [](uint32_t crc, size_t size) { return libdeflate_crc32(crc, buffer, size); };
  uint32_t source_crc = 0, copy_crc = 0;
  bool copied = ReadBlocks(in, buffer, [&](size_t size) {
    source_crc = crc_of(source_crc, size);
    return WriteAll(out, buffer, size);
  });
  close(in);
  copied = copied && fsync(out) == 0;
  copied = close(out) == 0 && copied;
  if (copied) {
    int check = open(to, O_RDONLY | O_CLOEXEC);
    copied = check >= 0 && ReadBlocks(check, buffer, [&](size_t size) {
               copy_crc = crc_of(copy_crc, size);
               return true;
             });
    if (check >= 0) close(check);
    copied = copied && copy_crc == source_crc;
  }
  if (!copied) unlink(to);
  return copied;
}

// Flushes a folder's entries (a rename or a new name in it) to the disk.
void SyncFolderOf(const char* path) {
  char folder[4096];
  CopyText(folder, path);
  char* slash = strrchr(folder, '/');
  if (slash == nullptr) {
    CopyText(folder, ".");
  } else {
    slash[slash == folder ? 1 : 0] = '\0';
  }
  int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Gives from the name to unless to exists: atomically, so a file appearing meanwhile is never
// replaced. Falls back to link and unlink on file systems without RENAME_NOREPLACE.
int RenameNoReplace(const char* from, const char* to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  if (link(from, to) != 0) return errno;
  unlink(from);
  return 0;
}

}  // namespace

int MovePath(const char* from, const char* to) {
  NativePath native_from(from), native_to(to);
  if (!native_from.fits() || !native_to.fits()) return 0;
  struct stat info;
  // Only regular files are moved, as on Windows, where a folder never reaches this path.
  if (stat(native_from.get(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  // A file already at its target is where it should be, as Windows reports it.
  if (strcmp(native_from.get(), native_to.get()) == 0) return 1;
  int error = RenameNoReplace(native_from.get(), native_to.get());
  if (error == 0) return 1;
  if (error != EXDEV) return 0;
  // Another volume: copy under a temporary name in the target folder, flush and check it,
  // give it the final name without replacing anything, and only then remove the source. A
  // crash at any point leaves the source whole and at most a recognisable ".tarnwick-part".
  char part[4096];
  if (!Format(part, "%s.%ld.tarnwick-part", native_to.get(), static_cast<long>(getpid()))) return 0;
  if (!CopyExclusive(native_from.get(), part, info.st_mode)) return 0;
  if (RenameNoReplace(part, native_to.get()) != 0) {
    unlink(part);
    return 0;
  }
  SyncFolderOf(native_to.get());
  if (unlink(native_from.get()) != 0) {
    // The source cannot go (a read-only folder): undo, so the file is in one place only.
    unlink(native_to.get());
    return 0;
  }
  SyncFolderOf(native_from.get());
  return 1;
}
