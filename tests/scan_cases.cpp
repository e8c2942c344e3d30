// scan_cases.cpp: the scan rows, and putting them on disk, running them and reading back.
#include "scan_cases.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "app/controls.h"
#include "app/scan_worker.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "scanner/crc32.h"
#include "settings/settings.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> g_labels;  // CRC key of bytes -> the key or spec they are

std::vector<std::string> Split(const std::string& text, const std::string& at) {
  std::vector<std::string> parts;
  for (size_t from = 0, to = 0; !text.empty() && to != std::string::npos; from = to + at.size())
    parts.push_back(text.substr(from, (to = text.find(at, from)) - from));
  return parts;
}

// The bytes a file spec stands for: an image, a zip of images, or a zip of A broken: "!cut" in
// half, "!far" with its data offset past the end, "!more" claiming entries it does not hold.
std::string Bytes(const std::string& path, const std::string& spec) {
  std::string extension = path.substr(path.size() - std::min<size_t>(path.size(), 4));
  if (extension != ".zip" && extension != ".ZIP") return "image " + spec;
  if (spec[0] == '!') {
    std::string zip = Bytes(path, spec == "!more" ? "b.gba:B" : "a.gba:A");
    if (spec == "!cut") return zip.substr(0, zip.size() / 2);
    if (spec == "!far") return zip.replace(zip.rfind("PK\1\2") + 42, 4, "\xff\xff\xff\x7f");
    return zip.replace(zip.rfind("PK\5\6") + 8, 4, std::string("\x03\x00\x03\x00", 4));
  }
  std::vector<ZipMember> members;
  for (const std::string& m : Split(spec, ","))
    members.push_back({m.substr(0, m.find(':')), "image " + m.substr(m.find(':') + 1)});
  TempFolder zip_folder;
  WriteZip(zip_folder / "z.zip", members);
  return ReadFile(zip_folder / "z.zip");
}

// An option of the row's run text: "" when absent, "1" for a bare flag, else its value.
std::string Option(const ScanCase& c, const std::string& key) {
  std::string run = " " + c.run + " ";
  size_t at = run.find(" " + key);
  if (at == std::string::npos) return "";
  at += key.size() + 1;
  return run[at] == ' ' ? "1" : run.substr(at + 1, run.find(' ', at) - at - 1);
}

std::string Field(const ScanCase& c, const char* key, const char* otherwise,
                  const std::string& root) {
  std::string text = Option(c, key).empty() ? otherwise : Option(c, key);
  if (text == "none") return "";
  return text.size() == 3 && text[1] == ':' ? text : SystemPath(root + "/" + text);
}

}  // namespace

const std::vector<ScanCase>& ScanCases() {
  static const std::string kLongest = std::string(251, 'n') + ".gba";
  static const std::vector<ScanCase> kCases = {
      // Upper-case ".ZIP" is not cut from the compared name; every file counts for progress.
      {"Scan reports and records, twice", "Scan TWICE", "Alpha=A; BETA=B; Gamma=G; *Delta=D",
       "src/Alpha.zip=alpha.gba:A; src/BETA.ZIP=b.GBA:B; src/gamma.gba=G; src/delta copy.gba=D; "
       "src/stranger.gba=?; src/two.zip=a.gba:A,b.gba:B; src/notes.txt=text",
       "=",
       "wrongnames.txt: File BETA.ZIP has wrong name: right: BETA; "
       "wrongnames.txt: File gamma has wrong name: right: Gamma; "
       "multifiles.txt: Multiple Copies of Delta Found (original file: delta copy.gba); "
       "multifiles.txt: Multiple Copies of Delta Found (original file: delta copy.gba); "
       "multifiles.txt: Multiple Copies of Alpha Found (original file: Alpha.zip); "
       "multifiles.txt: Multiple Copies of BETA Found (original file: BETA.ZIP); "
       "multifiles.txt: Multiple Copies of Gamma Found (original file: gamma.gba); "
       "unknown.txt: Unkown Rom @\\src\\stranger.gba; unknown.txt: Unkown Rom "
       "@\\src\\stranger.gba; "
       "multifilezip.txt: More than one rom found in @\\src\\two.zip skipping; "
       "multifilezip.txt: More than one rom found in @\\src\\two.zip skipping",
       "A; B; G", "14 28 42 57 71 85 100 14 28 42 57 71 85 100"},
      {"Rename with logs off", "Rename NOLOG", "*Owned=O; Taken=T",
       "src/owned.gba=O; src/taken.gba=T; src/stranger.gba=?; src/two.zip=a.gba:1,b.gba:2; "
       "dest/Taken.gba=mine; notmoved.txt=earlier",
       "dest/Owned.gba=O; dest/Taken.gba=mine; src/taken.gba=T; src/stranger.gba=?; "
       "src/two.zip=a.gba:1,b.gba:2",
       "notmoved.txt: image earlier (no line end)", "T"},
      // A torn haves tail is trimmed before the first append.
      {"Rename to database names", "Rename", "Alpha=A; Gamma=G; Blocked=X",
       "src/a1.ZIP=x.gba:A; src/g.GBA=G; src/x.gba=X; dest/Blocked.gba=mine; qvxgba.db=t",
       "src/x.gba=X; dest/Alpha.zip=x.gba:A; dest/Blocked.gba=mine; dest/Gamma.gba=G",
       "notmoved.txt: Unable To move file x.gba", "A; G; X"},
      {"Rename into country folders", "Rename SUB TYPE=1", "Alpha (E)=A; Gamma=G",
       "src/a.gba=A; src/g.gba=G", "dest/Europe/Alpha (E).gba=A; dest/UNKNOWN/Gamma.gba=G", "",
       "A; G"},
      {"Rename duplicates", "Rename", "*Alpha=A; *Beta=B",
       "src/old alpha.zip=a.gba:A; src/old beta.gba=B; dest/Beta.gba=earlier",
       "dest/Alpha.zip=a.gba:A; dest/Beta.gba=earlier; dest/Dupes/DUPE-Beta (old beta.gba).gba=B",
       "multifiles.txt: Multiple Copies of Alpha Found (original file: old alpha.zip); "
       "multifiles.txt: Multiple Copies of Beta Found (original file: old beta.gba)",
       ""},
      {"Two records with one CRC", "Rename", "First=S; Second=S", "src/file.gba=S",
       "dest/First.gba=S", "notmoved.txt: Unable To move file file.gba", "S; S"},
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
      // Broken zips are left as they are, or moved whole when they can be read up to their ROM.
      {"Broken zips", "Move", "Alpha=A; Beta=B",
       "src/cut.zip=!cut; src/far.zip=!far; src/more.zip=!more",
       "src/cut.zip=!cut; dest/far.zip=!far; dest/more.zip=!more", "", "A; B"},
      // Files this scan moved are met again in the destination and are no duplicates.
      {"Move into the source", "Move TO=src/Sorted", "Alpha=A; Beta=B",
       "src/a.gba=A; src/b.gba=B; src/Sorted/old.txt=old",
       "src/Sorted/a.gba=A; src/Sorted/b.gba=B; src/Sorted/old.txt=old", "", "A; B"},
      // The source and its direct sub-folders, but no recycle bin or system folder.
      {"Folder list", "Scan", "",
       "src/A/x.gba=in A; src/rECYCLED/x.gba=bin; src/System Volume Information/x.gba=sys; "
       "src/RECYCLER/x.gba=in R; src/A/Deep/x.gba=deep; src/top.gba=top",
       "=",
       "unknown.txt: Unkown Rom @\\src\\A\\x.gba; unknown.txt: Unkown Rom @\\src\\RECYCLER\\x.gba; "
       "unknown.txt: Unkown Rom @\\src\\top.gba",
       "", "33 66 100"},
#ifndef _WIN32  // folders named "C:" and "D:" stand in for drive roots; Windows has real ones
      {"Drive roots", "Rename FROM=C:\\ TO=D:\\", "Top=T",
       "C:/top.gba=T; C:/Games/x.gba=?; C:/Games/Deeper/y.gba=deep; D:/",
       "C:/Games/x.gba=?; C:/Games/Deeper/y.gba=deep; D:/Top.gba=T",
       "unknown.txt: Unkown Rom C:\\Games\\x.gba", "T", "50 100"},
      // 255 bytes is POSIX's name limit; Windows counts the whole path instead.
      {"Names at the limit", "Move", "Alpha=A", "src/" + kLongest + "=A", "dest/" + kLongest + "=A",
       "", "A"},
      {"Duplicate past the name limit", "Rename", "*Alpha=A",
       "src/" + kLongest + "=A; dest/Alpha.gba=mine",
       "src/" + kLongest + "=A; dest/Alpha.gba=mine; dest/Dupes/",
       "multifiles.txt: Multiple Copies of Alpha Found (original file: " + kLongest +
           "); notmoved.txt: Unable To move file " + kLongest,
       ""},
#endif
  };
  return kCases;
}

std::vector<std::string> List(const std::string& text) {
  std::vector<std::string> list = Split(text, "; ");
  std::sort(list.begin(), list.end());
  return list;
}

void MakeScanCase(const ScanCase& c, const std::string& root) {
  for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry.path());
  fs::create_directories(root + "/src"), fs::create_directories(root + "/dest");
  BuildCrcTable();
  ClearRomTable();
  ResetSettings();
  g_settings.SUB = !Option(c, "SUB").empty();
  g_settings.TYPE = std::atoi(Option(c, "TYPE").c_str());
  g_settings.LOG = Option(c, "NOLOG").empty();
  g_labels.clear();
  for (const std::string& rom : Split(c.roms, "; ")) {
    std::vector<std::string> key = Split(rom.substr(rom.find('=') + 1), "|");
    key.resize(3);
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

void RunScanCase(const ScanCase& c, QuietWindow& window, const std::string& root) {
  window.SetControlText(IDC_SOURCE_FIELD, Field(c, "FROM", "src", root).c_str());
  window.SetControlText(IDC_DEST_FIELD, Field(c, "TO", "dest", root).c_str());
  fs::path was = fs::current_path();
  fs::current_path(root);
  SetMainWindow(&window);
  ScanMode mode = c.run[0] == 'S'   ? ScanMode::kScan
                  : c.run[0] == 'R' ? ScanMode::kRename
                                    : ScanMode::kMove;
  for (int run = Option(c, "TWICE").empty(); run < 2; ++run) ScanWorker(window, mode);
  fs::current_path(was);
}

std::vector<std::string> ScanTree(const std::string& root) {
  std::vector<std::string> tree, kept;
  for (const std::string& entry : Tree(root, true)) {
    if (entry.back() == '/') {
      tree.push_back(entry);
    } else if (entry.find('/') != std::string::npos) {  // not one of the program's own files
      auto label = g_labels.find(entry.substr(entry.rfind(' ') + 1));
      tree.push_back(entry.substr(0, entry.rfind(' ')) + "=" +
                     (label != g_labels.end() ? label->second : "?"));
    }
  }
  // Tree() gives "a/" just before whatever "a/" holds.
  for (size_t i = 0; i < tree.size(); ++i) {
    bool holds = i + 1 < tree.size() && tree[i + 1].compare(0, tree[i].size(), tree[i]) == 0;
    if (tree[i].back() != '/' || (!holds && tree[i] != "src/" && tree[i] != "dest/"))
      kept.push_back(tree[i]);
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

std::vector<std::string> ScanLogs(const std::string& root) {
  std::vector<std::string> lines;
  for (const char* log :
       {"multifiles.txt", "wrongnames.txt", "notmoved.txt", "unknown.txt", "multifilezip.txt"}) {
    std::string text = ReadTextFile(root + "/" + log);
    for (size_t at; (at = text.find(SystemPath(root))) != std::string::npos;)
      text.replace(at, SystemPath(root).size(), "@");
    std::vector<std::string> parts = Split(text, "\n");
    for (size_t i = 0; i < parts.size(); ++i)
      if (i + 1 < parts.size() || !parts[i].empty())
        lines.push_back(log + (": " + parts[i]) + (i + 1 < parts.size() ? "" : " (no line end)"));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> HaveKeys(const std::string& root) {
  std::string haves = ReadFile(root + "/" + kHavesFileName);
  std::vector<std::string> keys;
  for (size_t at = 0; at < haves.size(); at += kHaveEntrySize) {
    auto label = g_labels.find(haves.substr(at, kHaveEntrySize));
    keys.push_back(label != g_labels.end() ? label->second : "? " + haves.substr(at));
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

std::vector<std::string> ExpectedTree(const ScanCase& c) {
  if (c.tree != "=") return List(c.tree);
  std::vector<std::string> tree;
  for (const std::string& f : List(c.files))
    if (f.find('/') < f.find('=')) tree.push_back(f);  // not one of the program's own files
  return tree;
}
