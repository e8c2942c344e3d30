// temp_folder.h: a fresh folder under the system's temporary folder, removed with everything
// in it at the end.
#pragma once

#include <string>

class TempFolder {
 public:
  explicit TempFolder(const char* prefix = "tarnwick-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  // Native paths, parts joined with "/".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // The same in the program's own format, joined with "\".
  std::string System(const std::string& name = "") const;

 private:
  std::string path_;
};

// A native path in the program's own format: "/" becomes "\".
std::string SystemPath(std::string path);
