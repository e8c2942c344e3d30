// scan_rows.cpp: Scan, Rename and Move over the zip and the loose collection, each against
// what the file system alone takes for the same files; and how a scan's time grows from a
// collection to one ten times its size.
#include <dirent.h>
#include <unzip.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/controls.h"
#include "app/load.h"
#include "app/scan_worker.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "tools/bench/sections.h"
#include "tools/bench/timing.h"

namespace bench {

namespace {

const char* const kLogNames[] = {"multifiles.txt", "wrongnames.txt", "notmoved.txt", "unknown.txt",
                                 "multifilezip.txt"};

// The state a scan starts from here: nothing owned, an empty haves file, no logs.
void FreshScanState(const Context& context) {
  for (int i = 0; i < rom_count; ++i) SetOwned(g_roms[i], false);
  WriteFile(context.program_dir + "/" + kHavesFileName, "");
  for (const char* log : kLogNames) remove((context.program_dir + "/" + log).c_str());
}

int OwnedCount() {
  int owned = 0;
  for (int i = 0; i < rom_count; ++i) owned += IsOwned(g_roms[i]);
  return owned;
}

// Files in a folder (not counting sub-folders).
int CountFiles(const std::string& folder) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    count += entry.is_regular_file();
  return count;
}

// The zip anchor: the folder listed and each zip's central directory walked, minizip alone.
int ReadCentralDirectories(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return -1;
  int members = 0;
  while (dirent* entry = readdir(dir)) {
    size_t length = strlen(entry->d_name);
    if (length < 4 || strcmp(entry->d_name + length - 4, ".zip") != 0) continue;
    unzFile zip = unzOpen((folder + "/" + entry->d_name).c_str());
    if (zip == nullptr) continue;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
      unz_file_info info;
      char name[256];
      if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK)
        ++members;
    }
    unzClose(zip);
  }
  closedir(dir);
  return members;
}

// The loose anchor: the folder listed and every file read to nowhere.
int64_t ReadFolderToNowhere(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return -1;
  int64_t bytes = 0;
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') bytes += ReadToNowhere(folder + "/" + entry->d_name);
  closedir(dir);
  return bytes;
}

// One scan of the collection in the mode of the flags; false unless it ended with "Done!".
bool RunScanWorker(QuietWindow& window, ScanMode mode) {
  ScanWorker(window, mode);
  return TakeMessage(window) == "Done!";
}

void SetPaths(QuietWindow& window, const std::string& source, const std::string& dest) {
  window.SetControlText(IDC_SOURCE_FIELD, SystemPath(source).c_str());
  window.SetControlText(IDC_DEST_FIELD, SystemPath(dest).c_str());
}

// Reads the collection's files once, so that its scans are timed from the page cache.
void WarmUp(const Collection& collection) {
  for (const CollectionFile& file : collection.files)
    ReadToNowhere(collection.folder + "/" + file.name);
}

// One Scan of the collection from nothing owned; its time in ms, or -1 (reported) when it did
// not do what was timed.
double TimeScan(const Context& context, const Collection& collection, const std::string& where) {
  QuietWindow& window = *context.window;
  SetPaths(window, collection.folder, context.work + "/scan-dest");
  FreshScanState(context);
  double start = NowMs();
  bool done = RunScanWorker(window, ScanMode::kScan);
  double ms = NowMs() - start;
  bool ok = Check(done, where + ": the scan did not end with Done!") &&
            Check(OwnedCount() == collection.known,
                  where + ": owned count differs from the known files") &&
            Check(ReadFile(context.program_dir + "/" + kHavesFileName).size() ==
                      static_cast<size_t>(collection.known * kHaveEntrySize),
                  where + ": the haves file does not hold one entry per known file") &&
            Check(CountLines(context.program_dir + "/unknown.txt") == collection.unknown,
                  where + ": unknown.txt does not name every unknown file") &&
            Check(CountLines(context.program_dir + "/wrongnames.txt") == collection.wrong_names,
                  where + ": wrongnames.txt does not name every wrong name");
  return ok ? ms : -1;
}

bool ScanCollection(const Context& context, const Collection& collection, const std::string& label,
                    bool zips) {
  WarmUp(collection);
  int reps = context.sizes.slow_reps;
  std::string where = "Scan " + label;
  std::vector<double> times;
  for (int rep = 0; rep < reps; ++rep) {
    times.push_back(TimeScan(context, collection, where));
    if (times.back() < 0) return false;
  }
  double scan = Median(times);

  double anchor = 0;
  if (zips) {
    int members = 0;
    anchor = MedianMs(reps, [&] { members = ReadCentralDirectories(collection.folder); });
    if (!Check(members == static_cast<int>(collection.files.size()),
               where + ": a zip has no member"))
      return false;
  } else {
    anchor = MedianMs(reps, [&] { ReadFolderToNowhere(collection.folder); });
  }
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
  QuietWindow& window = *context.window;
  std::string source = context.work + "/run-source", dest = context.work + "/run-dest";
  SetPaths(window, source, dest);
  bool ready = true;
  auto fresh = [&] {
    std::filesystem::remove_all(source);
    std::filesystem::remove_all(dest);
    std::error_code error;
    ready &= LinkCollection(collection, source) && std::filesystem::create_directory(dest, error);
  };
  int reps = context.sizes.slow_reps;
  bool done = true;
  double ours = MedianMs(
      reps,
      [&] {
        FreshScanState(context);
        fresh();
      },
      [&] { done &= RunScanWorker(window, rename_mode ? ScanMode::kRename : ScanMode::kMove); });
  std::string where = (rename_mode ? "Rename " : "Move ") + label;
  if (!Check(ready, where + ": cannot prepare the source") ||
      !Check(done, where + ": the scan did not end with Done!") ||
      !Check(CountFiles(dest) == collection.known, where + ": not every known file was placed") ||
      !Check(CountFiles(source) == collection.unknown, where + ": an unknown file was moved"))
    return false;
  bool renamed = true;
  double anchor = MedianMs(reps, fresh, [&] {
    for (const CollectionFile& file : collection.files)
      renamed &= rename((source + "/" + file.name).c_str(), (dest + "/" + file.name).c_str()) == 0;
  });
  std::filesystem::remove_all(source);
  std::filesystem::remove_all(dest);
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
    small_times.push_back(TimeScan(context, pair.small, small_where));
    large_times.push_back(TimeScan(context, pair.large, large_where));
    if (small_times.back() < 0 || large_times.back() < 0) return false;
  }
  PrintRow({large_where, Median(large_times), "ms",
            std::to_string(pair.small.files.size()) + " of the same kind", Median(small_times),
            "<= 10.5"});
  return true;
}

// The zip and the loose pair, made here (the generation's time goes to stderr) and removed after.
bool RunScaleRows(const Context& context, const ScanWorkload& workload,
                  const std::string& loose_kind) {
  double start = NowMs();
  ScalePair zips, loose;
  if (!Check(MakeZipScale(workload, context.work, &zips) &&
                 MakeLooseScale(workload, context.work, &loose),
             "cannot write the collections of the scaling rows"))
    return false;
  fprintf(stderr, "bench: %zu zips for the scaling rows written in %.1f s\n",
          zips.large.files.size(), (NowMs() - start) / 1000);
  bool ok =
      ScaleRow(context, zips, "zips, 9 in 10 unknown") && ScaleRow(context, loose, loose_kind);
  // Their blocks are not needed by the rows after these.
  std::error_code error;
  for (const std::string& folder : {zips.large.folder, zips.small.folder, loose.small.folder})
    std::filesystem::remove_all(folder, error);
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
  bool mib = size >= (1u << 20);
  std::string loose_kind = "loose " + std::to_string(mib ? size >> 20 : size >> 10) +
                           (mib ? " MiB images" : " KiB images");
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
