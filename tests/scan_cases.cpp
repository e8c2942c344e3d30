// scan_cases.cpp: the scan rows, and putting them on disk, running them and reading back.
#include "scan_cases.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "app/controls.h"
#include "app/scan_worker.h"
#include "app/window.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "support/fixtures.h"
#include "support/quiet_window.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> g_labels;  // CRC key of bytes -> the row text that made them

std::vector<std::string> Split(const std::string& text, const std::string& at) {
  std::vector<std::string> parts;
  for (size_t from = 0, to = 0; !text.empty() && to != std::string::npos; from = to + at.size())
    parts.push_back(text.substr(from, (to = text.find(at, from)) - from));
  return parts;
}

std::vector<std::string> Sorted(std::vector<std::string> list) {
  std::sort(list.begin(), list.end());
  return list;
}

// The bytes a file's row text stands for: an image, a zip of images (made at path), or a zip of
// A broken: "!cut" in half, "!far" with its data offset past the end, "!more" claiming entries
// it does not hold.
std::string Bytes(const std::string& path, const std::string& form) {
  if (path.find(".zip") == std::string::npos && path.find(".ZIP") == std::string::npos)
    return "image " + form;
  if (form[0] == '!') {
    std::string zip = Bytes(path, form == "!more" ? "b.gba:B" : "a.gba:A");
    if (form == "!cut") return zip.substr(0, zip.size() / 2);
    if (form == "!far") return zip.replace(zip.rfind("PK\1\2") + 42, 4, "\xff\xff\xff\x7f");
    return zip.replace(zip.rfind("PK\5\6") + 8, 4, std::string("\x03\x00\x03\x00", 4));
  }
  std::vector<ZipMember> members;
  for (const std::string& m : Split(form, ","))
    members.push_back({m.substr(0, m.find(':')), "image " + m.substr(m.find(':') + 1)});
  WriteZip(path, members);
  return ReadFile(path);
}

// An option of the row's run text: "" when absent, "1" for a bare flag, else its value.
std::string Option(const ScanCase& c, const std::string& key) {
  for (const std::string& word : Split(c.run, " "))
    if (word.rfind(key, 0) == 0) return word == key ? "1" : word.substr(key.size() + 1);
  return "";
}

std::string Field(const ScanCase& c, const char* key, const char* otherwise,
                  const std::string& root) {
  std::string text = Option(c, key).empty() ? otherwise : Option(c, key);
  return text == "none" ? "" : text[1] == ':' ? text : SystemPath(root + "/" + text);
}

}  // namespace

const std::vector<ScanCase>& ScanCases() {
  static const std::string kLongest = std::string(251, 'n') + ".gba";
  static const std::vector<ScanCase> kCases = {
      // Upper-case ".ZIP" is not cut from the compared name; every file counts for progress.
      {"Scan reports and records, twice", "Scan TWICE", "Alpha=A; BETA=B; Gamma=G; *Delta=D",
       "src/Alpha.zip=alpha.gba:A; src/BETA.ZIP=b.GBA:B; src/gamma.gba=G; src/delta copy.gba=D; "
       "src/two.zip=a.gba:A,b.gba:B; src/notes.txt=text",
       "=",
       "wrongnames.txt: File BETA.ZIP has wrong name: right: BETA; "
       "wrongnames.txt: File gamma has wrong name: right: Gamma; "
       "multifiles.txt: Multiple Copies of Delta Found (original file: delta copy.gba); "
       "multifiles.txt: Multiple Copies of Delta Found (original file: delta copy.gba); "
       "multifiles.txt: Multiple Copies of Alpha Found (original file: Alpha.zip); "
       "multifiles.txt: Multiple Copies of BETA Found (original file: BETA.ZIP); "
       "multifiles.txt: Multiple Copies of Gamma Found (original file: gamma.gba); "
       "multifilezip.txt: More than one rom found in @\\src\\two.zip skipping; "
       "multifilezip.txt: More than one rom found in @\\src\\two.zip skipping",
       "A; B; G", "16 33 50 66 83 100 16 33 50 66 83 100"},
      {"Rename into country folders, logs off", "Rename SUB TYPE=1 NOLOG",
       "*Owned=O; Taken=T; Alpha (E)=A",
       "src/owned.gba=O; src/taken.gba=T; src/stranger.gba=?; src/two.zip=a.gba:1,b.gba:2; "
       "src/a.gba=A; dest/UNKNOWN/Taken.gba=mine; notmoved.txt=earlier",
       "dest/UNKNOWN/Owned.gba=O; dest/UNKNOWN/Taken.gba=mine; dest/Europe/Alpha (E).gba=A; "
       "src/taken.gba=T; src/stranger.gba=?; src/two.zip=a.gba:1,b.gba:2",
       "notmoved.txt: image earlier (no line end)", "A; T"},
      // A torn haves tail is trimmed before the first append. Of two records with one CRC the
      // first takes the file. An owned ROM met again is a duplicate, moved only to a free name.
      {"Rename to database names", "Rename",
       "Alpha=A; Gamma=G; Blocked=X; First=S; Second=S; *Delta=D; *Beta=B",
       "src/a1.ZIP=x.gba:A; src/g.GBA=G; src/x.gba=X; dest/Blocked.gba=mine; qvxgba.db=t; "
       "src/file.gba=S; src/old delta.zip=d.gba:D; src/old beta.gba=B; dest/Beta.gba=earlier",
       "src/x.gba=X; dest/Alpha.zip=x.gba:A; dest/Blocked.gba=mine; dest/Gamma.gba=G; "
       "dest/First.gba=S; dest/Delta.zip=d.gba:D; dest/Beta.gba=earlier; "
       "dest/Dupes/DUPE-Beta (old beta.gba).gba=B",
       "notmoved.txt: Unable To move file x.gba; notmoved.txt: Unable To move file file.gba; "
       "multifiles.txt: Multiple Copies of Delta Found (original file: old delta.zip); "
       "multifiles.txt: Multiple Copies of Beta Found (original file: old beta.gba)",
       "A; G; X; S; S"},
      // The duplicate's folder is made although the duplicate goes to Dupes.
      {"Move into category folders", "Move SUB TYPE=0", "Alpha=A|Roms; *Beta=B|Demos; *Gamma=G",
       "src/my alpha.gba=A; src/beta.zip=b.gba:B; src/gamma.gba=G; dest/Dupes/gamma.gba=old",
       "dest/Demos/; dest/Dupes/beta.zip=b.gba:B; dest/Dupes/gamma.gba=old; "
       "dest/Roms/my alpha.gba=A; src/gamma.gba=G",
       "multifiles.txt: Multiple Copies of Beta Found (original file: beta.zip); "
       "multifiles.txt: Multiple Copies of Gamma Found (original file: gamma.gba); "
       "notmoved.txt: Unable To move file gamma.gba",
       "A"},
      // Refused names stay put but are owned; a group with no name is the destination itself.
      {"Names that may not be used", "Rename SUB TYPE=4",
       "../escaped=H1; nul.txt=H2; a:b=H3; Grouped=S|Roms|..; Fine=F",
       "src/h1.gba=H1; src/h2.gba=H2; src/h3.gba=H3; src/s.gba=S; src/fine.gba=F",
       "src/h1.gba=H1; src/h2.gba=H2; src/h3.gba=H3; src/s.gba=S; dest/Fine.gba=F",
       "notmoved.txt: Unable To move file h1.gba; notmoved.txt: Unable To move file h2.gba; "
       "notmoved.txt: Unable To move file h3.gba; notmoved.txt: Unable To move file s.gba",
       "F; H1; H2; H3; S"},
      // Files this scan moved are met again in the destination and are no duplicates. Broken
      // zips are left as they are, or moved whole when they can be read up to their ROM.
      {"Move into the source", "Move TO=src/Sorted", "Alpha=A; Beta=B; Gamma=G; Delta=D",
       "src/g.gba=G; src/d.gba=D; src/Sorted/old.txt=old; src/cut.zip=!cut; src/far.zip=!far; "
       "src/more.zip=!more",
       "src/Sorted/g.gba=G; src/Sorted/d.gba=D; src/Sorted/old.txt=old; src/cut.zip=!cut; "
       "src/Sorted/far.zip=!far; src/Sorted/more.zip=!more",
       "", "A; B; D; G"},
      // The source and its direct sub-folders, but no recycle bin or system folder.
      {"Folder list", "Scan", "",
       "src/A/x.gba=in A; src/rECYCLED/x.gba=bin; src/System Volume Information/x.gba=sys; "
       "src/RECYCLER/x.gba=in R; src/A/Deep/x.gba=deep; src/top.gba=top",
       "=",
       "unknown.txt: Unkown Rom @\\src\\A\\x.gba; unknown.txt: Unkown Rom @\\src\\RECYCLER\\x.gba; "
       "unknown.txt: Unkown Rom @\\src\\top.gba",
       "", "33 66 100"},
#ifndef _WIN32  // folders named "C:" and "D:" stand in for drive roots; Windows has real ones
      // 255 bytes is POSIX's name limit; Windows counts the whole path instead.
      {"Drive roots and a duplicate past the name limit", "Rename FROM=C:\\ TO=D:\\",
       "Top=T; *Alpha=A",
       "C:/top.gba=T; C:/Games/x.gba=?; C:/Games/Deeper/y.gba=deep; C:/" + kLongest +
           "=A; D:/Alpha.gba=mine",
       "C:/Games/x.gba=?; C:/Games/Deeper/y.gba=deep; D:/Top.gba=T; C:/" + kLongest +
           "=A; D:/Alpha.gba=mine; D:/Dupes/",
       "unknown.txt: Unkown Rom C:\\Games\\x.gba; multifiles.txt: Multiple Copies of Alpha Found "
       "(original file: " +
           kLongest + "); notmoved.txt: Unable To move file " + kLongest,
       "T", "33 66 100"},
      {"Names at the limit", "Move", "Alpha=A", "src/" + kLongest + "=A", "dest/" + kLongest + "=A",
       "", "A"},
#endif
  };
  return kCases;
}

std::vector<std::string> List(const std::string& text) { return Sorted(Split(text, "; ")); }

void MakeScanCase(const ScanCase& c, const std::string& root) {
  for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry.path());
  fs::create_directories(root + "/src"), fs::create_directories(root + "/dest");
  ClearRomTable();
  ResetSettings();
  static_cast<QuietWindow&>(MainWindow()).ClearRecord();
  g_settings.SUB = !Option(c, "SUB").empty();
  g_settings.TYPE = std::atoi(Option(c, "TYPE").c_str());
  g_settings.LOG = Option(c, "NOLOG").empty();
  g_labels.clear();
  for (const std::string& rom : Split(c.roms, "; ")) {
    std::vector<std::string> key = Split(rom.substr(rom.find('=') + 1) + "||", "|");
    g_labels[CrcKey("image " + key[0])] = key[0];
    bool owned = rom[0] == '*';
    AddRom(RomOf("image " + key[0], rom.substr(owned, rom.find('=') - owned), "0001",
                 key[1].empty() ? "Roms" : key[1], key[2]),
           owned);
  }
  for (const std::string& file : Split(c.files, "; ")) {
    size_t eq = file.find('=');
    std::string path = root + "/" + file.substr(0, eq);
    fs::create_directories(fs::path(path).parent_path());
    if (eq == std::string::npos) continue;
    std::string bytes = Bytes(path, file.substr(eq + 1));
    g_labels[CrcKey(bytes)] = file.substr(eq + 1);
    WriteFile(path, bytes);
  }
}

void RunScanCase(const ScanCase& c, const std::string& root) {
  MainWindow().SetControlText(IDC_SOURCE_FIELD, Field(c, "FROM", "src", root).c_str());
  MainWindow().SetControlText(IDC_DEST_FIELD, Field(c, "TO", "dest", root).c_str());
  fs::path was = fs::current_path();
  fs::current_path(root);
  auto mode = static_cast<ScanMode>(std::string("SRM").find(c.run[0]));  // Scan, Rename, Move
  for (int run = Option(c, "TWICE").empty(); run < 2; ++run) ScanWorker(MainWindow(), mode);
  fs::current_path(was);
}

std::vector<std::string> ScanTree(const std::string& root) {
  std::vector<std::string> tree;
  // Tree() gives "a/" just before whatever "a/" holds, so a folder is named only when empty.
  for (const std::string& entry : Tree(root, true)) {
    if (!tree.empty() && entry.rfind(tree.back(), 0) == 0) tree.pop_back();
    // The program's own files are not in a folder; src and dest are always there.
    if (entry.find('/') == std::string::npos || entry == "src/" || entry == "dest/") continue;
    // "" for bytes no row made.
    std::string bytes = g_labels[entry.substr(entry.rfind(' ') + 1)];
    tree.push_back(entry.back() == '/' ? entry : entry.substr(0, entry.rfind(' ')) + "=" + bytes);
  }
  return Sorted(tree);
}

std::vector<std::string> ScanLogs(const std::string& root) {
  std::vector<std::string> lines;
  for (const char* log :
       {"multifiles.txt", "wrongnames.txt", "notmoved.txt", "unknown.txt", "multifilezip.txt"}) {
    std::string text = ReadTextFile(root + "/" + log);
    for (size_t at; (at = text.find(SystemPath(root))) != std::string::npos;)
      text.replace(at, SystemPath(root).size(), "@");
    if (!text.empty() && text.back() != '\n') text += " (no line end)\n";
    std::vector<std::string> parts = Split(text, "\n");
    for (size_t i = 0; i + 1 < parts.size(); ++i) lines.push_back(log + (": " + parts[i]));
  }
  return Sorted(lines);
}

std::vector<std::string> HaveKeys(const std::string& root) {
  std::string haves = ReadFile(root + "/" + kHavesFileName);
  std::vector<std::string> keys;
  for (size_t at = 0; at < haves.size(); at += kHaveEntrySize)
    keys.push_back(g_labels[haves.substr(at, kHaveEntrySize)]);
  return Sorted(keys);
}
