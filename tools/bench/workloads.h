// workloads.h: the benchmark's generated inputs: pseudo-random images, a collection of zips
// and one of loose images, and a database that knows most of them. Everything comes from
// fixed seeds, so every run measures the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// splitmix64: fast, and the same sequence on every machine.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

 private:
  uint64_t state_;
};

// size pseudo-random bytes from seed.
std::string RandomBytes(size_t size, uint64_t seed);
// The zlib CRC-32 of bytes.
uint32_t ZlibCrc(const std::string& bytes);

bool WriteBytes(const std::string& path, const std::string& bytes);
bool MakeFolder(const std::string& path);
int64_t FileSize(const std::string& path);
// The core's path format: the same path joined with "\".
std::string SystemPath(std::string native_path);

// How big each workload is; --quick scales all of them down.
struct Sizes {
  int crc_files_per_size;  // files of each of 4, 8, 16 and 32 MiB
  int zips;                // files in the zip collection
  int loose;               // files in the loose collection
  size_t loose_size;       // bytes per loose image
  int database_records;    // records of the generated database (8096 at most)
  int fast_reps;           // repetitions of a cheap workload
  int slow_reps;           // repetitions of a scan
};
Sizes FullSizes();
Sizes QuickSizes();

// One line of the generated dat, field by field.
struct DatRecord {
  std::string crc, name, number, category, group, friendly_name, scene_name;
  int32_t size;
};

struct CollectionFile {
  std::string name;  // bare file name
  int record;        // database record of its image, -1 for an image the database lacks
  bool wrong_name;   // known, but not under its display name, so Scan logs it
};

// A folder of files of one kind, and what a scan of it should find.
struct Collection {
  std::string folder;  // native path
  std::vector<CollectionFile> files;
  int64_t bytes = 0;  // total size of the files
  int known = 0, unknown = 0, wrong_names = 0;
};

struct ScanWorkload {
  std::vector<DatRecord> records;  // in database order
  Collection zips, loose;
  std::string database_zip;  // native path of the database
};

// Writes both collections under work/zips and work/loose and the database work/database.zip.
// Every twentieth file of each collection is unknown; half of the known files carry their
// display name (default naming options), the other half a name of their own.
bool MakeScanWorkload(const Sizes& sizes, const std::string& work, ScanWorkload* out);

// The dat text (CR LF lines) of the records.
std::string DatText(const std::vector<DatRecord>& records);

// Fills to_folder (created, must not exist) with the collection's files as hard links, or
// copies where links are refused: a fresh source for a Rename or Move without rewriting the
// images.
bool LinkCollection(const Collection& collection, const std::string& to_folder);

}  // namespace bench
