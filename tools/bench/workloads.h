// workloads.h: the benchmark's generated inputs: a collection of zips and one of loose images,
// a database that knows most of them, and pairs of collections a tenfold apart for the rows
// that show how a scan's cost grows. Everything comes from fixed seeds, so every run measures
// the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace bench {

// How big each workload is; --quick scales all of them down.
struct Sizes {
  int crc_files_per_size;  // files of each of 4, 8, 16 and 32 MiB; 0 for 64 MiB of each
  int zips;                // files in the zip collection
  int loose;               // files in the loose collection
  size_t loose_size;       // bytes per loose image
  int database_records;    // records of the generated database (8096 at most)
  int fast_reps;           // repetitions of a cheap workload
  int slow_reps;           // repetitions of a scan
};
Sizes FullSizes();
Sizes QuickSizes();

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
  std::vector<DatRom> records;  // in database order
  Collection zips, loose;
  std::string database_zip;  // native path of the database
};

// Writes both collections under work/zips and work/loose and the database work/database (QVX).zip.
// Every twentieth file of each collection is unknown; half of the known files carry their
// display name (default naming options), the other half a name of their own.
bool MakeScanWorkload(const Sizes& sizes, const std::string& work, ScanWorkload* out);

// Fills to_folder (created, must not exist) with the collection's files as hard links, or
// copies where links are refused: a fresh source for a Rename or Move without rewriting the
// images.
bool LinkCollection(const Collection& collection, const std::string& to_folder);

// Two collections of one kind, the large one ten times the small one.
struct ScalePair {
  Collection small, large;
};

// A big mixed folder of zips, work/scale-zips, ten times the zip collection: every tenth file
// is a link to the next file of the zip collection (known but for a twentieth of them, half of
// the known ones wrong-named), the other nine are new images the database lacks, as it is
// full. The small one, work/scale-zips-small, links the first tenth, so both hold one mix.
bool MakeZipScale(const ScanWorkload& workload, const std::string& work, ScalePair* out);

// The loose collection as the large one, and its first tenth linked into work/scale-loose-small.
bool MakeLooseScale(const ScanWorkload& workload, const std::string& work, ScalePair* out);

}  // namespace bench
