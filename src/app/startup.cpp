// startup.cpp: start-up, and the settings file read at start-up and written at close.
#include "app/startup.h"

#include <vector>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/load.h"
#include "app/window.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace {

// The path fields, in the order of the INI file's path keys.
const int kPathFields[kIniPathCount] = {IDC_DATABASE_FIELD, IDC_SOURCE_FIELD, IDC_DEST_FIELD};

// A settings file is a few hundred bytes; more than this is no settings file, and only its
// start is read.
constexpr size_t kMaxIniSize = 16u << 20;

// The file's bytes, as they are: CR LF and LF lines read alike, and no byte ends it early.
bool ReadIniBytes(const char* path, std::vector<char>* bytes) {
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  char block[1 << 14];
  size_t got;
  while (bytes->size() < kMaxIniSize && (got = fread(block, 1, sizeof block, file)) > 0)
    bytes->insert(bytes->end(), block, block + got);
  CloseFile(file);
  return true;
}

}  // namespace

void StartUp(Window& window, const char* executable_path) {
  SelectShowAll(window);
  SetIdleTitle(window);
  SetProgramDirectory(executable_path);
  LoadIni();
}

int LoadIni() {
  char path[kProgramFilePathSize];
  std::vector<char> bytes;
  if (!ProgramFilePath(path, kIniFileName) || !ReadIniBytes(path, &bytes)) return 0;
  Window& window = MainWindow();
  IniPaths paths = {};
  ParseIniPaths(bytes.data(), bytes.size(), &paths);
  for (int i = 0; i < kIniPathCount; ++i)
    if (paths.present[i]) window.SetControlText(kPathFields[i], paths.value[i]);
  char database[kPathFieldSize];
  ReadPathField(IDC_DATABASE_FIELD, database);
  // The options are restored also when the load fails (a drive not plugged in, a renamed
  // file): the INI written at close would otherwise put the defaults over the user's choices.
  // They come after the load, which names its records in the title under the default naming.
  int loaded = LoadDatabase(database);
  ParseIniOptions(bytes.data(), bytes.size(), &g_settings);
  if (loaded) RefreshRomList();
  return 1;
}

int SaveIni() {
  char path[kProgramFilePathSize];
  char fields[kIniPathCount][kPathFieldSize];
  for (int i = 0; i < kIniPathCount; ++i) ReadPathField(kPathFields[i], fields[i]);
  const char* const values[kIniPathCount] = {fields[0], fields[1], fields[2]};
  if (ProgramFilePath(path, kIniFileName) && WriteIniFile(path, values, g_settings)) return 1;
  MainWindow().ShowMessage("Error Saving Ini!", "Save Error");
  return 0;
}
