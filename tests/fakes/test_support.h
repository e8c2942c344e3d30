// test_support.h: a fresh process state per test: fake window, empty table, default options,
// and a private program directory on disk.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_window.h"
#include "tools/zip_writer.h"

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The temporary folder that serves as the program directory, as a native path with "/".
  const std::string& dir() const { return dir_; }
  std::string NativePath(const std::string& name) const { return dir_ + "/" + name; }
  // The same file in the system's own format, with "\".
  std::string SystemPath(const std::string& name) const;

  FakeWindow window_;

 private:
  std::string dir_;
};

// Appends a record to the table as a load would have stored it.
struct RomFields {
  const char* crc;
  int size;
  const char* name;
  const char* number;
  const char* category;
  const char* group = "";
  const char* friendly_name = "";
  const char* scene_name = "";
  int have = 0;
};
int AddRom(const RomFields& fields);

// The CRC key of data as zlib computes it: 8 lower-case hexadecimal digits.
std::string CrcKey(const std::string& data);

// Files on disk.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// A file the core wrote in text mode, with "\n" line ends on every platform.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);

// Zip archives made by minizip's writer.
using ZipEntry = ZipMember;
void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries);
// One stored entry whose central directory claims crc and uncompressed_size as given.
void WriteLyingZip(const std::string& path, const std::string& data, unsigned long crc,
                   uint64_t uncompressed_size);
