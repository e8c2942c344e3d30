// file_system_win32.cpp: the file operations on Windows, where our paths are native already.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <new>

#include "base/text.h"
#include "platform/file_system.h"

// The C runtime's fopen shares a file for reading and writing but not for deleting, so a log
// held open by a scan could be neither deleted nor renamed; the handle is made here instead.
FILE* OpenFile(const char* path, const char* mode) {
  if (path[0] == '\0') return nullptr;
  bool both = strchr(mode, '+') != nullptr;
  int flags = (strchr(mode, 't') != nullptr ? _O_TEXT : _O_BINARY) | (both ? _O_RDWR : 0);
  DWORD access = both ? GENERIC_READ | GENERIC_WRITE : 0, creation;
  switch (mode[0]) {
    case 'r':
      access |= GENERIC_READ, creation = OPEN_EXISTING, flags |= both ? 0 : _O_RDONLY;
      break;
    case 'w':
      access |= GENERIC_WRITE, creation = CREATE_ALWAYS, flags |= both ? 0 : _O_WRONLY;
      break;
    case 'a':
      // Append access alone: every write lands at the end, after what another copy of the
      // program appended meanwhile.
      access = FILE_APPEND_DATA | (both ? GENERIC_READ : 0), creation = OPEN_ALWAYS;
      flags |= _O_APPEND | (both ? 0 : _O_WRONLY);
      break;
    default:
      return nullptr;
  }
  HANDLE handle = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  FILE* file = _fdopen(descriptor, mode);
  if (file == nullptr) _close(descriptor);
  return file;
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

struct FolderListing {
  HANDLE find;            // INVALID_HANDLE_VALUE for a folder with nothing in it
  WIN32_FIND_DATAA data;  // the entry NextFolderEntry gives next
  bool has_data;
};

FolderListing* OpenFolderListing(const char* pattern) {
  FolderListing* listing = new (std::nothrow) FolderListing();
  if (listing == nullptr) return nullptr;
  listing->find = FindFirstFileA(pattern, &listing->data);
  listing->has_data = listing->find != INVALID_HANDLE_VALUE;
  // "Nothing matches" comes from a folder that exists but is empty, as a drive root can be;
  // a missing folder gives ERROR_PATH_NOT_FOUND instead.
  if (!listing->has_data && GetLastError() != ERROR_FILE_NOT_FOUND) {
    delete listing;
    return nullptr;
  }
  return listing;
}

int NextFolderEntry(FolderListing* listing, FolderEntry* entry) {
  while (listing->has_data) {
    const WIN32_FIND_DATAA& data = listing->data;
    bool fits = strnlen(data.cFileName, sizeof(data.cFileName)) < sizeof(entry->name);
    if (fits) {
      CopyText(entry->name, data.cFileName);
      entry->is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    listing->has_data = FindNextFileA(listing->find, &listing->data) != 0;
    if (fits) return 1;
  }
  return 0;
}

void CloseFolderListing(FolderListing* listing) {
  if (listing == nullptr) return;
  if (listing->find != INVALID_HANDLE_VALUE) FindClose(listing->find);
  delete listing;
}

int IsFolder(const char* path) {
  if (path[0] == '\0') return 0;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int MakeDirectory(const char* path) { return _mkdir(path) == 0 ? 1 : 0; }

// Renames a file whose new name differs only in letter case. Wine reports success for such a
// MoveFileA and changes nothing, so the file goes through a free temporary name in the target's
// folder; MoveFileA never overwrites, so a name that is taken is simply passed over.
static int RenameCase(const char* from, const char* to) {
  size_t folder_length = 0;
  for (size_t i = 0; to[i] != '\0'; ++i)
    if (to[i] == '\\' || to[i] == '/' || to[i] == ':') folder_length = i + 1;
  char temp[1024];
  for (int attempt = 0;; ++attempt) {
    if (attempt == 100) return 0;
    if (!Format(temp, "%.*s~tarnwick-%lu-%d.tmp", static_cast<int>(folder_length), to,
                static_cast<unsigned long>(GetCurrentProcessId()), attempt))
      return 0;
    if (MoveFileA(from, temp)) break;
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return 0;
  }
  if (MoveFileA(temp, to)) return 1;
  // The target was taken meanwhile (or is another file on a case-sensitive disk): put the
  // source back where it was.
  MoveFileA(temp, from);
  return 0;
}

// True when the two files hold the same bytes.
static bool SameContent(const char* a, const char* b) {
  FILE* fa = fopen(a, "rb");
  FILE* fb = fopen(b, "rb");
  bool same = fa != nullptr && fb != nullptr;
  static thread_local char block_a[1 << 15], block_b[1 << 15];
  while (same) {
    size_t got_a = fread(block_a, 1, sizeof block_a, fa);
    size_t got_b = fread(block_b, 1, sizeof block_b, fb);
    same = got_a == got_b && memcmp(block_a, block_b, got_a) == 0;
    if (got_a == 0 || ferror(fa) || ferror(fb)) {
      same = same && !ferror(fa) && !ferror(fb);
      break;
    }
  }
  if (fa != nullptr) fclose(fa);
  if (fb != nullptr) fclose(fb);
  return same;
}

static bool FlushToDisk(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool flushed = FlushFileBuffers(file) != 0;
  return CloseHandle(file) != 0 && flushed;
}

// Removes a file we made, read-only or not.
static void RemoveOurCopy(const char* path) {
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path);
}

// Another volume: MoveFileA would copy straight under the final name, so a crash could leave
// half a file there. Copy under a temporary name beside the target instead, flush and check
// it, give it the final name (never replacing), and only then remove the source.
static int MoveAcrossVolumes(const char* from, const char* to) {
  char part[1024];
  if (!Format(part, "%s.%lu.tarnwick-part", to, static_cast<unsigned long>(GetCurrentProcessId())))
    return 0;
  if (!CopyFileA(from, part, TRUE)) return 0;
  if (!FlushToDisk(part) || !SameContent(from, part) ||
      !MoveFileExA(part, to, MOVEFILE_WRITE_THROUGH)) {
    RemoveOurCopy(part);
    return 0;
  }
  if (!DeleteFileA(from)) {
    // The source cannot go (read-only, in use): undo, so the file is in one place only.
    RemoveOurCopy(to);
    return 0;
  }
  return 1;
}

int MovePath(const char* from, const char* to) {
  if (strcmp(from, to) != 0 && EqualFolded(from, to)) return RenameCase(from, to);
  // Without MOVEFILE_COPY_ALLOWED this renames on one volume only, and never over a file.
  if (MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH)) return 1;
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) return 0;
  return MoveAcrossVolumes(from, to);
}
