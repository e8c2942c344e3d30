// placement.cpp: new finds and duplicates for Scan, Rename and Move.
#include "scanner/placement.h"

#include <cstring>

#include "base/text.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "naming/sub_folder.h"
#include "platform/file_system.h"
#include "settings/settings.h"

namespace {

constexpr int kPathSize = 1024;

bool IsDeviceName(const char* name) {
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  static const char* const kNumbered[] = {"COM", "LPT"};
  // Windows reads a device name before the first dot, ignoring trailing blanks.
  size_t length = strcspn(name, ".");
  while (length > 0 && name[length - 1] == ' ') --length;
  char base[8] = {};
  if (length == 0 || length >= sizeof base) return false;
  memcpy(base, name, length);
  for (const char* device : kDevices)
    if (EqualFolded(base, device)) return true;
  // COM1 to COM9 and LPT1 to LPT9, and with the superscript digits 1, 2 and 3 of code page
  // 1252, which Windows takes for the same devices.
  unsigned char digit = static_cast<unsigned char>(base[3]);
  bool numbered = (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  if (length == 4 && numbered) {
    base[3] = '\0';
    for (const char* device : kNumbered)
      if (EqualFolded(base, device)) return true;
  }
  return false;
}

// Everything a placement builds for one record: its own texts, never shared with the UI
// thread's list refresh.
struct Placement {
  int index;
  ScanFile& file;
  const char* dest;
  ScanMode mode;
  ScanOutputs& out;
  NameText display;
  NameText sub_folder;  // built only with SUB on in Rename or Move
  bool use_sub_folder;  // SUB on
  bool sub_folder_usable;
};

// Builds the sub-folder name and creates dest\sub-folder. An empty name stands for the
// destination itself; a name that may not be used is never created.
void PrepareSubFolder(Placement& p) {
  p.sub_folder = BuildSubFolderName(p.index);
  char folder[kPathSize];
  p.sub_folder_usable =
      p.sub_folder.text[0] == '\0' ||
      (IsSafeName(p.sub_folder.text) && Format(folder, "%s\\%s", p.dest, p.sub_folder.text));
  if (p.sub_folder_usable && p.sub_folder.text[0] != '\0') MakeDirectory(folder);
}

// Moves from to folder\component, or folder\sub\component when sub is given. A name that
// may not be used, or a path that does not fit, is a failed move: nothing is cut, nothing
// lands outside the folder.
bool MoveInto(ScanFile& file, const char* folder, const char* sub, const char* component) {
  if (!IsSafeName(component)) return false;
  char target[kPathSize];
  bool fits = sub != nullptr ? Format(target, "%s\\%s\\%s", folder, sub, component)
                             : Format(target, "%s\\%s", folder, component);
  if (!fits || MovePath(file.full_path, target) != 1) return false;
  CopyText(file.moved_to, target);
  return true;
}

// Moves the file into the destination, or into its sub-folder with SUB on.
bool MoveToDestination(Placement& p, const char* component) {
  if (!p.use_sub_folder) return MoveInto(p.file, p.dest, nullptr, component);
  return p.sub_folder_usable && MoveInto(p.file, p.dest, p.sub_folder.text, component);
}

// Moves the file into dest\Dupes under component; the folder is made only for a usable name.
bool MoveToDupes(Placement& p, const char* component) {
  if (!IsSafeName(component)) return false;
  char folder[kPathSize];
  if (Format(folder, "%s\\Dupes", p.dest)) MakeDirectory(folder);
  return MoveInto(p.file, p.dest, "Dupes", component);
}

// The display name with the target extension, as a file name; false when the display name
// may not stand as a name of its own.
bool DisplayFileName(const Placement& p, char (&out)[kPathSize]) {
  return IsSafeName(p.display.text) && Format(out, "%s.%s", p.display.text, p.file.extension);
}

void PlaceDuplicate(Placement& p) {
  p.out.logs.Write(Log::kMultipleCopies, p.display.text, p.file.name);
  if (p.mode == ScanMode::kScan) return;
  if (p.use_sub_folder) PrepareSubFolder(p);
  bool moved;
  if (p.mode == ScanMode::kRename) {
    // A duplicate takes its proper name when the earlier copy is not there.
    char component[kPathSize];
    moved = DisplayFileName(p, component) && MoveToDestination(p, component);
    if (!moved) {
      moved = IsSafeName(p.display.text) &&
              Format(component, "DUPE-%s (%s).%s", p.display.text, p.file.name, p.file.extension) &&
              MoveToDupes(p, component);
    }
  } else {
    moved = MoveToDupes(p, p.file.name);
  }
  if (!moved) p.out.logs.Write(Log::kNotMoved, p.file.name);
}

void PlaceNewFind(Placement& p) {
  // The file's own name without ".zip" and ".gba", each cut at its first (case-sensitive)
  // occurrence, for the Scan report.
  char compare[kEntryNameSize];
  CopyText(compare, p.file.name);
  if (char* zip = strstr(compare, ".zip")) *zip = '\0';
  if (char* gba = strstr(compare, ".gba")) *gba = '\0';

  // Owned before any move is tried, so a failed move still leaves the ROM owned.
  SetOwned(g_roms[p.index], true);
  p.out.haves.Append(p.index);

  if (p.mode == ScanMode::kScan) {
    if (strcmp(compare, p.display.text) != 0)
      p.out.logs.Write(Log::kWrongName, compare, p.display.text);
    return;
  }
  if (p.use_sub_folder) PrepareSubFolder(p);
  bool moved;
  if (p.mode == ScanMode::kRename) {
    char component[kPathSize];
    moved = DisplayFileName(p, component) && MoveToDestination(p, component);
  } else {
    moved = MoveToDestination(p, p.file.name);
  }
  if (!moved) p.out.logs.Write(Log::kNotMoved, p.file.name);
}

}  // namespace

bool IsSafeName(const char* name) {
  if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return false;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(name); *c; ++c)
    if (*c < 32 || strchr("\\/:*?\"<>|", *c) != nullptr) return false;
  return !IsDeviceName(name);
}

void PlaceFile(int index, ScanFile& file, const char* dest, ScanMode mode, ScanOutputs& out) {
  file.matched = true;
  Placement p{index, file, dest, mode, out, BuildDisplayName(index), {}, g_settings.SUB != 0, true};
  if (IsOwned(g_roms[index])) {
    PlaceDuplicate(p);
  } else {
    PlaceNewFind(p);
  }
}
