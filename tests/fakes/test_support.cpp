// test_support.cpp: temporary program directories, records and zip fixtures.
#include "fakes/test_support.h"

#include <sys/stat.h>
#include <zip.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "database/rom_table.h"
#include "settings/settings.h"
#include "platform/program_dir.h"

// A new folder of our own under the system's temporary folder, with "/" between its parts.
// Windows has no mkdtemp: create_directory reports a name that exists already, so a taken
// name is never shared, only passed over.
static std::string MakeTemporaryFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return "";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    snprintf(name, sizeof(name), "tarnwick-test-%08x", static_cast<unsigned>(random()));
    if (std::filesystem::create_directory(base / name, error))
      return (base / name).generic_string();
  }
  return "";
}

void CoreTest::SetUp() {
  dir_ = MakeTemporaryFolder();
  ASSERT_FALSE(dir_.empty());
  SetMainWindow(&window_);
  ClearRomTable();
  ResetSettings();
  // The program directory in the system's format, as the executable's folder would give it.
  SetProgramDirectory(SystemPath("tarnwick.exe").c_str());
}

void CoreTest::TearDown() {
  std::filesystem::remove_all(dir_);
  SetMainWindow(nullptr);
}

std::string CoreTest::SystemPath(const std::string& name) const {
  std::string path = NativePath(name);
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

template <size_t N>
static void CopyInto(char (&to)[N], const char* from) {
  snprintf(to, N, "%s", from);
}

int AddRom(const RomFields& fields) {
  RomRecord& rom = g_roms[rom_count];
  CopyInto(rom.crc, fields.crc);
  rom.size = fields.size;
  CopyInto(rom.name, fields.name);
  CopyInto(rom.number, fields.number);
  CopyInto(rom.category, fields.category);
  CopyInto(rom.group, fields.group);
  CopyInto(rom.friendly_name, fields.friendly_name);
  CopyInto(rom.scene_name, fields.scene_name);
  rom.have = fields.have;
  return rom_count++;
}

std::string CrcKey(const std::string& data) {
  char key[9];
  snprintf(key, sizeof key, "%08lx",
           crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  return key;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string ReadTextFile(const std::string& path) {
  std::string bytes = ReadFile(path);
#ifdef _WIN32
  // Text mode wrote each line end as "\r\n"; a bare "\n" means the file was written raw.
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
      ADD_FAILURE() << path << ": a line feed without a carriage return at byte " << i;
    text += bytes[i];
  }
  return text;
#else
  return bytes;
#endif
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries) {
  ASSERT_TRUE(WriteZipArchive(path, entries)) << path;
}

void WriteLyingZip(const std::string& path, const std::string& data, unsigned long crc,
                   uint64_t uncompressed_size) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr) << path;
  zip_fileinfo info = {};
  // Raw and stored: the bytes go in as they are, and the sizes and CRC are ours to claim;
  // a claim of 4 GiB or more needs the zip64 fields.
  int zip64 = uncompressed_size > 0xFFFFFFFFull ? 1 : 0;
  ASSERT_EQ(ZIP_OK, zipOpenNewFileInZip2_64(zip, "dat.txt", &info, nullptr, 0, nullptr, 0, nullptr,
                                            0, 0, 1, zip64));
  ASSERT_EQ(ZIP_OK, zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())));
  ASSERT_EQ(ZIP_OK, zipCloseFileInZipRaw64(zip, uncompressed_size, crc));
  ASSERT_EQ(ZIP_OK, zipClose(zip, nullptr));
}
