// sections.h: the native benchmark's generated inputs and its three groups of rows, each
// measured against its anchors in the same run. The inputs come from fixed seeds, so every run
// measures the same bytes: a collection of zips and one of loose images, a database that knows
// most of them, and pairs of collections a tenfold apart for the rows that show how a scan's
// cost grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/quiet_window.h"
#include "tools/bench/bench.h"

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

// The zip pair: a big mixed folder of zips, work/scale-zips, ten times the zip collection:
// every tenth file is a link to the next file of the zip collection (known but for a twentieth
// of them, half of the known ones wrong-named), the other nine are new images the database
// lacks, as it is full; the small one, work/scale-zips-small, links the first tenth, so both
// hold one mix. The loose pair: the loose collection, and its first tenth linked into
// work/scale-loose-small.
bool MakeScalePairs(const ScanWorkload& workload, const std::string& work, ScalePair* zips,
                    ScalePair* loose);

struct Context {
  Sizes sizes;
  std::string work;         // the run's fresh folder, native path
  std::string program_dir;  // the core's program directory inside it, native path
  QuietWindow* window;      // quiet: it keeps only the fields, the rows and the last message
};

// Each prints its rows as they are measured. false when a workload could not be made or the
// core did not do what was measured (reported on stderr): a figure of a failed run is no figure.
bool RunCrcRows(const Context& context);
bool RunScanRows(const Context& context, const ScanWorkload& workload);
bool RunTableRows(const Context& context, const ScanWorkload& workload);

// Reports a failed check on stderr; returns ok.
bool Check(bool ok, const std::string& what);

// The last message box's text, forgotten so that the next check sees only its own.
std::string TakeMessage(QuietWindow& window);

// Reads the file to nowhere in 64 KiB blocks, through zlib's crc32() when crc is given; its
// size, or -1 when it cannot be opened.
int64_t ReadToNowhere(const std::string& path, unsigned long* crc = nullptr);

}  // namespace bench
