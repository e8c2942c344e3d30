// scan_folders.cpp: the folder list, the counting pass and the main pass of one scan. The
// folder list and the set of placed files are the one scan's, static for their size: there is
// at most one scan at a time.
#include "scanner/scan_folders.h"

#include <cstring>

#include "base/text.h"
#include "database/crc_index.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "scanner/identify.h"

namespace {

char g_folders[kMaxFolders][kFolderPathSize];
int g_folder_count = 0;

// Enters folder\name (or folder alone) into the folder list. A full list or a path that does
// not fit is passed over: a cut path would name another folder.
void AddFolder(const char* folder, const char* name) {
  if (g_folder_count >= kMaxFolders) return;
  char* entry = g_folders[g_folder_count];
  bool fits = name != nullptr ? FormatInto(entry, kFolderPathSize, "%s\\%s", folder, name)
                              : FormatInto(entry, kFolderPathSize, "%s", folder);
  if (fits) {
    ++g_folder_count;
  } else {
    entry[0] = '\0';
  }
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "C:\" and the like: three characters, a drive letter, a colon and a separator.
bool IsDriveRootText(const char* path) {
  return strlen(path) == 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

// Builds the folder list from the source listing: "." is the source itself, other
// directories are its direct sub-folders; deeper folders are never entered. Returns the
// source's own files, so that the counting pass need not list it again.
int64_t BuildFolderList(FolderListing* listing, const char* source) {
  memset(g_folders, 0, sizeof g_folders);
  g_folder_count = 0;
  int64_t files = 0;
  // A drive root's listing has no "." entry, so the root is entered first by hand.
  if (strlen(source) == 2 && IsDriveLetter(source[0]) && source[1] == ':')
    AddFolder(source, nullptr);
  FolderEntry entry;
  while (NextFolderEntry(listing, &entry)) {
    if (!entry.is_directory) {
      ++files;
      continue;
    }
    if (strcmp(entry.name, "..") == 0) continue;
    if (EqualFolded(entry.name, "System Volume Information") || EqualFolded(entry.name, "Recycled"))
      continue;
    if (strcmp(entry.name, ".") == 0) {
      AddFolder(source, nullptr);
    } else {
      AddFolder(source, entry.name);
    }
  }
  return files;
}

// Files this scan has moved, by a hash of their new path. A destination inside the source
// (or the source itself) is listed too, and a file met there again after its move would
// otherwise be taken for a duplicate of itself: logged, and under Move sent to Dupes.
constexpr int kPlacedSlots = 16384;  // a power of two, twice the records a scan can own
uint64_t g_placed[kPlacedSlots];
int g_placed_count = 0;

// FNV-1a over the path as Windows compares it: letter case folded, "\\" runs as one.
uint64_t PathHash(const char* path) {
  uint64_t hash = 14695981039346656037ull;
  for (const char* c = path; *c; ++c) {
    if (*c == '\\' && c[1] == '\\') continue;
    hash = (hash ^ FoldByte(static_cast<unsigned char>(*c))) * 1099511628211ull;
  }
  return hash == 0 ? 1 : hash;  // 0 marks a free slot
}

// Slot of hash, or of the free slot where it would go.
int PlacedSlot(uint64_t hash) {
  int slot = static_cast<int>(hash & (kPlacedSlots - 1));
  while (g_placed[slot] != 0 && g_placed[slot] != hash) slot = (slot + 1) & (kPlacedSlots - 1);
  return slot;
}

void RememberPlaced(const char* path) {
  // Kept at most half full; past that a re-met file is simply handled as before.
  if (g_placed_count >= kPlacedSlots / 2) return;
  uint64_t hash = PathHash(path);
  int slot = PlacedSlot(hash);
  if (g_placed[slot] == 0) g_placed[slot] = hash, ++g_placed_count;
}

bool WasPlaced(const char* path) {
  return g_placed_count > 0 && g_placed[PlacedSlot(PathHash(path))] != 0;
}

// Lists folder's entries into visit, one call per file (directories are passed over).
// false when the folder cannot be read.
template <typename Visit>
bool ForEachFile(const char* folder, Visit visit) {
  char pattern[kFolderPathSize + 2];
  Format(pattern, "%s\\*", folder);
  FolderListing* listing = OpenFolderListing(pattern);
  if (listing == nullptr) return false;
  FolderEntry entry;
  while (NextFolderEntry(listing, &entry))
    if (!entry.is_directory) visit(entry.name);
  CloseFolderListing(listing);
  return true;
}

// The table's crc texts, indexed once per scan: the records neither move nor change their crc
// while a scan runs.
CrcIndex g_scan_index;

// Identifies one file and places it for every record its key matches, in table order.
void ScanOneFile(const char* folder, const char* name, const char* dest, ScanMode mode,
                 ScanOutputs& out) {
  char full_path[kFolderPathSize + kEntryNameSize + 1];
  Format(full_path, "%s\\%s", folder, name);
  if (WasPlaced(full_path)) return;  // moved here by this scan: placed already
  Identity identity = IdentifyFile(full_path, name);
  if (identity.image_count > 1) {
    out.logs.Write(Log::kMultiRom, full_path);
    return;
  }
  if (identity.image_count != 1) return;
  ScanFile file = {full_path, name, identity.extension, false, ""};
  g_scan_index.ForEachMatch(identity.key,
                            [&](int index) { PlaceFile(index, file, dest, mode, out); });
  if (!file.matched) out.logs.Write(Log::kUnmatched, full_path);
  if (file.moved_to[0] != '\0') RememberPlaced(file.moved_to);
}

}  // namespace

ScanOutcome ScanFolders(ScanMode mode, const char* source_text, const char* dest_text,
                        ScanProgressHook progress, void* context) {
  char source[kPathFieldSize], dest[kPathFieldSize];
  CopyText(source, source_text);
  CopyText(dest, dest_text);
  bool moves = mode != ScanMode::kScan;
  if (source[0] == '\0') return ScanOutcome::kNoSource;
  if (moves && dest[0] == '\0') return ScanOutcome::kNoDestination;
  // A missing destination (an unplugged drive, a folder removed since it was picked) would
  // fail every move one by one while still owning every ROM, so that the next Move sends them
  // all to Dupes; it stops the run before anything is done. A drive root is checked as "D:\".
  if (moves && !IsFolder(dest)) return ScanOutcome::kDestinationNotFound;

  // A drive root keeps its one backslash: C:\* rather than C:\\*, and D: joined with "\".
  char pattern[kPathFieldSize + 2];
  if (IsDriveRootText(source)) {
    Format(pattern, "%s*", source);
  } else {
    Format(pattern, "%s\\*", source);
  }
  if (IsDriveRootText(dest)) dest[2] = '\0';

  FolderListing* listing = OpenFolderListing(pattern);
  if (listing == nullptr) return ScanOutcome::kUnreadableFolder;
  *strstr(pattern, "\\*") = '\0';  // the source folder as used from here on
  int64_t source_files = BuildFolderList(listing, pattern);
  CloseFolderListing(listing);
  memset(g_placed, 0, sizeof g_placed);
  g_placed_count = 0;

  g_scan_index.Build();
  ScanOutputs out;
  int64_t total = 0;
  for (int f = 0; f < g_folder_count; ++f) {
    if (strcmp(g_folders[f], pattern) == 0) {
      total += source_files;
    } else if (!ForEachFile(g_folders[f], [&](const char*) { ++total; })) {
      return ScanOutcome::kUnreadableFolder;
    }
  }

  int64_t processed = 0;
  for (int f = 0; f < g_folder_count; ++f) {
    const char* folder = g_folders[f];
    bool listed = ForEachFile(folder, [&](const char* name) {
      ++processed;
      if (total > 0) progress(static_cast<int>(processed * 100 / total), context);
      ScanOneFile(folder, name, dest, mode, out);
    });
    if (!listed) return ScanOutcome::kUnreadableFolder;
  }
  return ScanOutcome::kDone;
}
