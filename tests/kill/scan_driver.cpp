// scan_driver.cpp: one headless Rename or Move (with SUB on when asked), for the kill harness.
// Every ROM image in the source becomes a record of the table, ownership comes from the haves file
// as a load would take it, and the scan runs with a window that shows nothing.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "database/haves_file.h"
#include "database/rom_table.h"
#include "scanner/crc32.h"
#include "scanner/identify.h"
#include "app/scan_worker.h"
#include "scanner/scan_folders.h"
#include "settings/settings.h"
#include "app/controls.h"
#include "platform/program_dir.h"
#include "app/window.h"

namespace fs = std::filesystem;

namespace {

class QuietWindow : public Window {
 public:
  QuietWindow(std::string source, std::string dest) : source_(source), dest_(dest) {}
  void EnableControl(int, bool) override {}
  void SetControlText(int, const char*) override {}
  int GetControlText(int id, char* out, int size) override {
    const std::string& text = id == IDC_SOURCE_FIELD ? source_ : dest_;
    return snprintf(out, static_cast<size_t>(size), "%s", text.c_str()) >= size ? size - 1
                                                                                : int(text.size());
  }
  void SetTitle(const char*) override {}
  void SetRadio(int, bool) override {}
  bool IsRadioOn(int) override { return false; }
  void ClearList() override {}
  void AddListRow(const char*) override {}
  void EndListRows() override {}
  void SetProgress(int) override {}
  void ShowMessage(const char* text, const char*) override { message_ = text; }
  void SendScanFinished() override {}
  void RunOnUiThread(void (*task)()) override { task(); }
  const std::string& message() const { return message_; }

 private:
  std::string source_, dest_, message_;
};

std::string SystemPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// One record per distinct image in folder and its direct sub-folders, named by its key.
void AddRecordsFrom(const fs::path& folder, std::vector<std::string>& keys, int depth) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_directory()) {
      if (depth == 0) AddRecordsFrom(entry.path(), keys, 1);
      continue;
    }
    std::string name = entry.path().filename().string();
    Identity identity = IdentifyFile(SystemPath(entry.path().string()).c_str(), name.c_str());
    if (identity.image_count != 1) continue;
    bool known = false;
    for (const std::string& key : keys) known = known || key == identity.key;
    if (!known && rom_count < kMaxRoms) keys.push_back(identity.key);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool sub = argc == 6 && strcmp(argv[5], "sub") == 0;
  if ((argc != 5 && !sub) || (strcmp(argv[1], "rename") != 0 && strcmp(argv[1], "move") != 0)) {
    fprintf(stderr, "usage: scan_driver rename|move <program-dir> <source> <dest> [sub]\n");
    return 2;
  }
  std::string source = SystemPath(argv[3]), dest = SystemPath(argv[4]);
  QuietWindow window(source, dest);
  SetMainWindow(&window);
  SetProgramDirectory(SystemPath(std::string(argv[2]) + "/scan_driver").c_str());
  BuildCrcTable();
  std::vector<std::string> keys;
  keys.reserve(kMaxRoms);
  AddRecordsFrom(argv[3], keys, 0);
  for (const std::string& key : keys) {
    RomRecord& rom = g_roms[rom_count++];
    snprintf(rom.crc, sizeof rom.crc, "%s", key.c_str());
    snprintf(rom.name, sizeof rom.name, "Game %s", key.c_str());
    snprintf(rom.category, sizeof rom.category, "Roms");
  }
  MarkHaves();
  g_settings.SUB = sub ? 1 : 0;  // by category: every record's is "Roms"
  ScanWorker(window, strcmp(argv[1], "rename") == 0 ? ScanMode::kRename : ScanMode::kMove);
  if (window.message() != "Done!") {
    fprintf(stderr, "scan_driver: %s\n", window.message().c_str());
    return 1;
  }
  return 0;
}
