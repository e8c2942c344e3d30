// scan_rows.cpp: Scan, Rename and Move over the zip and the loose collection, each against
// what the file system alone takes for the same files; and how a scan's time grows from a
// collection to one ten times its size.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/controls.h"
#include "app/load.h"
#include "app/scan_worker.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "reports/rom_rows.h"
#include "settings/settings.h"
#include "tools/bench/sections.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

// The state a scan starts from here: nothing owned, no haves file, no logs.
void FreshScanState(const Context& context) {
  ForgetHaves();
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(context.program_dir, error))
    if (entry.path().extension() == ".txt") fs::remove(entry.path(), error);
}

// One run of the worker in mode from source into dest; false unless it ended with "Done!".
bool RunScanWorker(const Context& context, ScanMode mode, const std::string& source,
                   const std::string& dest) {
  context.window->SetControlText(IDC_SOURCE_FIELD, SystemPath(source).c_str());
  context.window->SetControlText(IDC_DEST_FIELD, SystemPath(dest).c_str());
  ScanWorker(*context.window, mode);
  return TakeMessage(*context.window) == "Done!";
}

// Lines of a log in the program directory; 0 when it does not exist.
int LogLines(const Context& context, const char* log) {
  std::string text = ReadFile(context.program_dir + "/" + log);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Reads the collection's files once, so that its scans are timed from the page cache.
void WarmUp(const Collection& collection) {
  ForEachFile(collection.folder, [](const std::string& path) { ReadToNowhere(path); });
}

// One Scan of the collection from nothing owned, its time in ms added to times; false
// (reported) when it did not do what was timed.
bool TimeScan(const Context& context, const Collection& collection, const std::string& where,
              std::vector<double>* times) {
  FreshScanState(context);
  double start = NowMs();
  bool done =
      RunScanWorker(context, ScanMode::kScan, collection.folder, context.work + "/scan-dest");
  times->push_back(NowMs() - start);
  return Check(done, where + ": the scan did not end with Done!") &&
         Check(CountRoms().have == collection.known,
               where + ": owned count differs from the known files") &&
         Check(ReadFile(context.program_dir + "/" + kHavesFileName).size() ==
                   static_cast<size_t>(collection.known * kHaveEntrySize),
               where + ": the haves file does not hold one entry per known file") &&
         Check(LogLines(context, "unknown.txt") == collection.unknown,
               where + ": unknown.txt does not name every unknown file") &&
         Check(LogLines(context, "wrongnames.txt") == collection.wrong_names,
               where + ": wrongnames.txt does not name every wrong name");
}

bool ScanCollection(const Context& context, const Collection& collection, const std::string& label,
                    bool zips) {
  WarmUp(collection);
  int reps = context.sizes.slow_reps;
  std::string where = "Scan " + label;
  std::vector<double> times;
  for (int rep = 0; rep < reps; ++rep)
    if (!TimeScan(context, collection, where, &times)) return false;
  double scan = Median(times);

  int members = 0;
  double anchor = MedianMs(reps, [&] {
    if (zips)
      members = ReadCentralDirectories(collection.folder);
    else
      WarmUp(collection);  // the loose anchor: every file read to nowhere
  });
  if (!Check(!zips || members == static_cast<int>(collection.files.size()),
             where + ": a zip has no member"))
    return false;
  std::string anchor_name = zips ? "list + central dirs (minizip)" : "list + read to nowhere";
  double files = static_cast<double>(collection.files.size());
  double bytes = static_cast<double>(collection.bytes);
  // Zips: at least 0.6 of minizip's own pace; loose images: at most twice the reading.
  const char* goal = zips ? "<= 1.67" : "<= 2.0";
  PrintRow({where, PerSecond(files, scan), "files/s", anchor_name, PerSecond(files, anchor), goal});
  PrintRow({where, MegabytesPerSecond(bytes, scan), "MB/s", anchor_name,
            MegabytesPerSecond(bytes, anchor), goal});
  return true;
}

// Rename or Move of a fresh copy of the collection into an empty destination, against a loop
// of rename(2) moving as many files between the same two folders.
bool PlaceCollection(const Context& context, const Collection& collection, const std::string& label,
                     bool rename_mode) {
  std::string source = context.work + "/run-source", dest = context.work + "/run-dest";
  bool ready = true;
  auto fresh = [&] {
    FreshScanState(context);
    fs::remove_all(source);
    fs::remove_all(dest);
    std::error_code error;
    ready &= LinkCollection(collection, source) && fs::create_directory(dest, error);
  };
  int reps = context.sizes.slow_reps;
  ScanMode mode = rename_mode ? ScanMode::kRename : ScanMode::kMove;
  bool done = true;
  double ours = MedianMs(reps, fresh, [&] { done &= RunScanWorker(context, mode, source, dest); });
  std::string where = (rename_mode ? "Rename " : "Move ") + label;
  if (!Check(ready, where + ": cannot prepare the source") ||
      !Check(done, where + ": the scan did not end with Done!") ||
      !Check(static_cast<int>(Tree(dest).size()) == collection.known,
             where + ": not every known file was placed") ||
      !Check(static_cast<int>(Tree(source).size()) == collection.unknown,
             where + ": the source holds more than its unknown files"))
    return false;
  bool renamed = true;
  double anchor = MedianMs(reps, fresh, [&] {
    for (const CollectionFile& file : collection.files)
      renamed &= rename((source + "/" + file.name).c_str(), (dest + "/" + file.name).c_str()) == 0;
  });
  fs::remove_all(source);
  fs::remove_all(dest);
  if (!Check(ready && renamed, where + ": the rename(2) loop failed")) return false;
  double files = static_cast<double>(collection.files.size());
  PrintRow({where, PerSecond(files, ours), "files/s",
            "rename(2) loop, " + std::to_string(collection.files.size()) + " files",
            PerSecond(files, anchor), ""});
  return true;
}

// Scans of the small and the large collection, taken in turn so that a slow spell of the
// machine weighs on both: the large one's median time against the small one's. A scan whose
// cost per file grows with the files before it shows as a ratio above ten.
bool ScaleRow(const Context& context, const ScalePair& pair, const std::string& kind) {
  WarmUp(pair.small);
  WarmUp(pair.large);
  std::string small_where = "Scan " + std::to_string(pair.small.files.size()) + " " + kind;
  std::string large_where = "Scan " + std::to_string(pair.large.files.size()) + " " + kind;
  std::vector<double> small_times, large_times;
  for (int rep = 0; rep < context.sizes.slow_reps; ++rep) {
    if (!TimeScan(context, pair.small, small_where, &small_times) ||
        !TimeScan(context, pair.large, large_where, &large_times))
      return false;
  }
  PrintRow({large_where, Median(large_times), "ms",
            std::to_string(pair.small.files.size()) + " of the same kind", Median(small_times),
            "<= 10.5"});
  return true;
}

// The zip and the loose pair, made here and removed after.
bool RunScaleRows(const Context& context, const ScanWorkload& workload,
                  const std::string& loose_kind) {
  ScalePair zips, loose;
  bool ok = Check(MakeScalePairs(workload, context.work, &zips, &loose),
                  "cannot write the collections of the scaling rows") &&
            ScaleRow(context, zips, "zips, 9 in 10 unknown") &&
            ScaleRow(context, loose, loose_kind);
  // Their blocks are not needed by the rows after these.
  std::error_code error;
  for (const std::string& folder : {zips.large.folder, zips.small.folder, loose.small.folder})
    fs::remove_all(folder, error);
  return ok;
}

}  // namespace

bool RunScanRows(const Context& context, const ScanWorkload& workload) {
  g_settings.LOG = 1;
  FreshScanState(context);
  if (!Check(LoadDatabase(SystemPath(workload.database_zip).c_str()) == 1 &&
                 rom_count == static_cast<int>(workload.records.size()),
             "the generated database does not load"))
    return false;
  size_t size = context.sizes.loose_size;
  std::string loose_kind = "loose " +
                           (size >= (1u << 20) ? std::to_string(size >> 20) + " MiB"
                                               : std::to_string(size >> 10) + " KiB") +
                           " images";
  std::string loose_label = std::to_string(workload.loose.files.size()) + " " + loose_kind;
  std::string zip_label = std::to_string(workload.zips.files.size()) + " zips";
  bool ok = ScanCollection(context, workload.zips, zip_label, true) &&
            ScanCollection(context, workload.loose, loose_label, false) &&
            RunScaleRows(context, workload, loose_kind);
  for (bool rename_mode : {true, false}) {
    ok = ok && PlaceCollection(context, workload.zips, zip_label, rename_mode) &&
         PlaceCollection(context, workload.loose, loose_label, rename_mode);
  }
  g_settings.LOG = 0;
  return ok;
}

}  // namespace bench
