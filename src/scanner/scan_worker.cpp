// scan_worker.cpp: the folder list, the counting pass and the main pass of one scan.
#include "scanner/scan_worker.h"

#include <cstring>

#include "base/text.h"
#include "database/crc_index.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "reports/rom_list.h"
#include "scanner/identify.h"
#include "scanner/log_files.h"
#include "scanner/placement.h"
#include "ui/controls.h"
#include "ui/window.h"

int32_t g_rename_flag = 0;
int32_t g_move_flag = 0;

namespace {

// Disabled for the worker's whole life, in this order; the show filter stays usable.
constexpr int kScanControls[] = {
    ctl::kSaveLists,     ctl::kResetHaves,      ctl::kScan,           ctl::kMove, ctl::kRename,
    ctl::kNamingOptions, ctl::kRenamingOptions, ctl::kIncludeOptions, ctl::kLoad, ctl::kPickSource,
    ctl::kPickDest};

// The same eleven, enabled again by the scan-finished command in the window's own order.
constexpr int kScanFinishedControls[] = {
    ctl::kSaveLists,      ctl::kResetHaves, ctl::kScan,     ctl::kMove,
    ctl::kRename,         ctl::kLoad,       ctl::kPickSource, ctl::kPickDest,
    ctl::kIncludeOptions, ctl::kRenamingOptions, ctl::kNamingOptions};

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
// directories are its direct sub-folders; deeper folders are never entered.
void BuildFolderList(FolderListing* listing, const char* source) {
  memset(g_folders, 0, sizeof g_folders);
  g_folder_count = 0;
  // A drive root's listing has no "." entry, so the root is entered first by hand.
  if (strlen(source) == 2 && IsDriveLetter(source[0]) && source[1] == ':')
    AddFolder(source, nullptr);
  FolderEntry entry;
  while (NextFolderEntry(listing, &entry)) {
    if (!entry.is_directory) continue;
    if (strcmp(entry.name, "..") == 0) continue;
    if (EqualFolded(entry.name, "System Volume Information") || EqualFolded(entry.name, "Recycled"))
      continue;
    if (strcmp(entry.name, ".") == 0) {
      AddFolder(source, nullptr);
    } else {
      AddFolder(source, entry.name);
    }
  }
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
void ScanOneFile(const char* folder, const char* name, const char* dest) {
  char full_path[kFolderPathSize + kEntryNameSize + 1];
  Format(full_path, "%s\\%s", folder, name);
  if (WasPlaced(full_path)) return;  // moved here by this scan: placed already
  Identity identity = IdentifyFile(full_path, name);
  if (identity.image_count > 1) {
    WriteLogLine(Log::kMultiRom, full_path);
    return;
  }
  if (identity.image_count != 1) return;
  ScanFile file = {full_path, name, identity.extension, false, ""};
  g_scan_index.ForEachMatch(identity.key, [&](int index) { PlaceFile(index, file, dest); });
  if (!file.matched) WriteLogLine(Log::kUnmatched, full_path);
  if (file.moved_to[0] != '\0') RememberPlaced(file.moved_to);
}

void ErrorExit(Window& window, const char* message) {
  window.ShowMessage(message, "Scan Error");
  window.SendScanFinished();
}

}  // namespace

void ScanWorker(Window& window) {
  for (int id : kScanControls) window.EnableControl(id, false);

  // The worker's own copies, for the whole run.
  char source[kPathFieldSize], dest[kPathFieldSize];
  window.GetControlText(ctl::kSourceField, source, kPathFieldSize);
  window.GetControlText(ctl::kDestField, dest, kPathFieldSize);

  char title[64];
  Format(title, TARNWICK_TITLE_FORMAT " - Scanning Roms", kVersion);
  window.SetTitle(title);

  if (source[0] == '\0') return ErrorExit(window, "No Source Path Selected!");
  if ((g_rename_flag || g_move_flag) && dest[0] == '\0')
    return ErrorExit(window, "No Destination Path Selected!");
  // A missing destination (an unplugged drive, a folder removed since it was picked) would
  // fail every move one by one while still owning every ROM, so that the next Move sends them
  // all to Dupes; it stops the run before anything is done. A drive root is checked as "D:\".
  if ((g_rename_flag || g_move_flag) && !IsFolder(dest))
    return ErrorExit(window, "Destination Path Not Found!");

  // A drive root keeps its one backslash: C:\* rather than C:\\*, and D: joined with "\".
  char pattern[kPathFieldSize + 2];
  if (IsDriveRootText(source)) {
    Format(pattern, "%s*", source);
  } else {
    Format(pattern, "%s\\*", source);
  }
  if (IsDriveRootText(dest)) dest[2] = '\0';

  FolderListing* listing = OpenFolderListing(pattern);
  if (listing == nullptr) return ErrorExit(window, "Unable To Read Files In Dir!");
  *strstr(pattern, "\\*") = '\0';  // the source folder as used from here on
  BuildFolderList(listing, pattern);
  CloseFolderListing(listing);
  memset(g_placed, 0, sizeof g_placed);
  g_placed_count = 0;

  g_scan_index.Build();
  int64_t total = 0;
  for (int f = 0; f < g_folder_count; ++f) {
    if (!ForEachFile(g_folders[f], [&](const char*) { ++total; }))
      return ErrorExit(window, "Unable To Read Files In Dir!");
  }

  int64_t processed = 0;
  for (int f = 0; f < g_folder_count; ++f) {
    const char* folder = g_folders[f];
    bool listed = ForEachFile(folder, [&](const char* name) {
      ++processed;
      if (total > 0) window.SetProgress(static_cast<int>(processed * 100 / total));
      ScanOneFile(folder, name, dest);
    });
    if (!listed) return ErrorExit(window, "Unable To Read Files In Dir!");
  }

  window.RunOnUiThread(RefreshRomList);
  window.ShowMessage("Done!", "Scan");
  window.SendScanFinished();
}

void OnScanFinished() {
  for (int id : kScanFinishedControls) MainWindow().EnableControl(id, true);
  SetIdleTitle();
}
