// scan_driver.cpp: one headless Rename or Move (with SUB on when asked), for the kill harness.
// Every distinct image in the source becomes a record of the table, ownership comes from the
// haves file as a load would take it, and the scan runs with a window that shows nothing.
#include <cstring>
#include <filesystem>
#include <set>

#include "app/controls.h"
#include "app/scan_worker.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "platform/program_dir.h"
#include "scanner/identify.h"
#include "settings/settings.h"
#include "support/fixtures.h"
#include "support/quiet_window.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

// The folder and its direct sub-folders, as a scan walks them.
static void AddRecordsFrom(const fs::path& folder, int depth, std::set<std::string>& keys) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (entry.is_directory() && depth == 0) AddRecordsFrom(entry.path(), 1, keys);
    if (entry.is_directory()) continue;
    Identity id = IdentifyFile(SystemPath(entry.path().string()).c_str(), name.c_str());
    if (id.image_count == 1 && rom_count < kMaxRoms && keys.insert(id.key).second)
      AddRom({id.key, 0, std::string("Game ") + id.key});  // category "Roms"
  }
}

int main(int argc, char** argv) {
  bool sub = argc == 6 && strcmp(argv[5], "sub") == 0;
  if ((argc != 5 && !sub) || (strcmp(argv[1], "rename") != 0 && strcmp(argv[1], "move") != 0)) {
    fprintf(stderr, "usage: scan_driver rename|move <program-dir> <source> <dest> [sub]\n");
    return 2;
  }
  QuietWindow window(false);
  window.SetControlText(IDC_SOURCE_FIELD, SystemPath(argv[3]).c_str());
  window.SetControlText(IDC_DEST_FIELD, SystemPath(argv[4]).c_str());
  SetMainWindow(&window);
  SetProgramDirectory(SystemPath(std::string(argv[2]) + "/scan_driver").c_str());
  std::set<std::string> keys;
  AddRecordsFrom(argv[3], 0, keys);
  MarkHaves();
  g_settings.SUB = sub ? 1 : 0;  // by category
  ScanWorker(window, strcmp(argv[1], "rename") == 0 ? ScanMode::kRename : ScanMode::kMove);
  std::string message = window.messages().empty() ? "" : window.messages().back().text;
  if (message == "Done!") return 0;
  fprintf(stderr, "scan_driver: %s\n", message.c_str());
  return 1;
}
