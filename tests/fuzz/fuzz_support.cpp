// fuzz_support.cpp: the silent window and the private folder of the fuzz targets.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "database/rom_table.h"
#include "settings/settings.h"
#include "app/controls.h"
#include "platform/program_dir.h"

namespace {

std::string g_dir;
QuietWindow g_window;

int FieldIndex(int id) {
  switch (id) {
    case IDC_DATABASE_FIELD:
      return 0;
    case IDC_SOURCE_FIELD:
      return 1;
    case IDC_DEST_FIELD:
      return 2;
  }
  return -1;
}

void RemoveFuzzDir() {
  std::error_code error;
  if (!g_dir.empty()) std::filesystem::remove_all(g_dir, error);
}

}  // namespace

void QuietWindow::SetControlText(int id, const char* text) {
  int field = FieldIndex(id);
  if (field >= 0) snprintf(fields_[field], sizeof fields_[field], "%s", text);
}

int QuietWindow::GetControlText(int id, char* out, int size) {
  if (size <= 0) return 0;
  int field = FieldIndex(id);
  int written = snprintf(out, static_cast<size_t>(size), "%s", field >= 0 ? fields_[field] : "");
  return written < size ? written : size - 1;
}

bool QuietWindow::IsRadioOn(int id) { return id == IDC_SHOW_ALL; }

void QuietWindow::ClearFields() {
  for (auto& field : fields_) field[0] = '\0';
}

void SetUpFuzzProcess() {
  if (!g_dir.empty()) return;
  const char* base = getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base ? base : "/tmp") + "/tarnwick-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
    perror("tarnwick fuzz: private folder");
    abort();
  }
  g_dir = pattern + "/";
  atexit(RemoveFuzzDir);
  if (freopen("/dev/null", "w", stdout) == nullptr) abort();
  SetMainWindow(&g_window);
  ClearRomTable();
  ResetSettings();
  SetProgramDirectory(FuzzSystemPath("tarnwick.exe").c_str());
}

const std::string& FuzzDir() { return g_dir; }

std::string FuzzSystemPath(const char* name) {
  std::string path = g_dir + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool WriteFuzzFile(const char* name, const uint8_t* data, size_t size) {
  FILE* file = fopen((g_dir + name).c_str(), "wb");
  if (file == nullptr) return false;
  bool written = size == 0 || fwrite(data, size, 1, file) == 1;
  return fclose(file) == 0 && written;
}

QuietWindow& FuzzWindow() { return g_window; }
