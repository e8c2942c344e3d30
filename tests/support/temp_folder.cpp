// temp_folder.cpp: a folder of our own under the system's temporary folder.
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <random>

TempFolder::TempFolder(const char* prefix) {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  std::random_device seed;
  std::mt19937 random(seed());
  // Windows has no mkdtemp: create_directory reports a name that exists already, so a taken
  // name is never shared, only passed over.
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    char name[64];
    snprintf(name, sizeof name, "%s-%08x", prefix, static_cast<unsigned>(random()));
    if (std::filesystem::create_directory(base / name, error))
      path_ = (base / name).generic_string();
  }
}

TempFolder::~TempFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

std::string TempFolder::System(const std::string& name) const {
  return SystemPath(name.empty() ? path_ : *this / name);
}

std::string SystemPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
