// bench.h: what both benchmark programs share: the one table they print, a row per measured
// workload beside its anchor from the same run; median timing; the zip scans' anchor.
#pragma once

#include <unzip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace bench {

struct Row {
  std::string workload;  // what was measured, with its size: "CRC-32, 16 MiB images"
  double ours;           // our figure, in unit
  std::string unit;      // "MB/s", "files/s", "ms"
  std::string anchor;    // what it is compared with: "zlib crc32()", "read to nowhere"
  double anchor_figure;  // the anchor's figure in the same unit, from the same run
  std::string goal;      // the goal set for ratio or figure, or empty: "<= 1.0", "<= 150 ms"
};

inline void PrintHeader() {
  printf("%-50s %12s %-8s  %-34s %12s %8s  %s\n", "Workload", "Ours", "Unit", "Anchor", "Anchor",
         "Ratio", "Goal");
  printf("%-50s %12s %-8s  %-34s %12s %8s  %s\n", "", "", "", "", "", "(time)", "");
}

// The ratio is always our time over the anchor's, so below 1 means faster than the anchor.
// Figures keep about four significant digits, so microseconds still show beside seconds.
inline void PrintRow(const Row& row) {
  bool rate = row.unit.find("/s") != std::string::npos;
  double ratio = row.ours <= 0 || row.anchor_figure <= 0 ? 0
                 : rate                                  ? row.anchor_figure / row.ours
                                                         : row.ours / row.anchor_figure;
  auto figure = [](double value) {
    char text[32];
    snprintf(text, sizeof text, value >= 100 ? "%.1f" : value >= 1 ? "%.2f" : "%.3f", value);
    return std::string(text);
  };
  printf("%-50.50s %12s %-8.8s  %-34.34s %12s %8.2f  %s\n", row.workload.c_str(),
         figure(row.ours).c_str(), row.unit.c_str(), row.anchor.c_str(),
         figure(row.anchor_figure).c_str(), ratio, row.goal.c_str());
  fflush(stdout);
}

inline double NowMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// The median of the values (the upper one of an even count); 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Runs setup (untimed) and then run (timed) reps times; the median time of run, in ms. The
// median rather than the best: a repetition that a neighbour's work slowed is outvoted, and a
// lucky one does not set the figure either.
template <typename Setup, typename Run>
double MedianMs(int reps, Setup setup, Run run) {
  std::vector<double> times;
  for (int i = 0; i < reps; ++i) {
    setup();
    double start = NowMs();
    run();
    times.push_back(NowMs() - start);
  }
  return Median(times);
}
template <typename Run>
double MedianMs(int reps, Run run) {
  return MedianMs(
      reps, [] {}, run);
}

inline double PerSecond(double count, double ms) { return ms > 0 ? count * 1000.0 / ms : 0; }
inline double MegabytesPerSecond(double bytes, double ms) { return PerSecond(bytes / 1e6, ms); }

// Calls visit with the path of every file in folder, listed as a scan lists it; "/" joins
// them, which both platforms open.
template <typename Visit>
void ForEachFile(const std::string& folder, Visit visit) {
  FolderListing* listing = OpenFolderListing(SystemPath(folder + "/*").c_str());
  FolderEntry entry;
  while (listing != nullptr && NextFolderEntry(listing, &entry))
    if (!entry.is_directory) visit(folder + "/" + entry.name);
  CloseFolderListing(listing);
}

// The anchor of a scan of zips: the folder listed and each zip's central directory walked by
// minizip alone. The members found.
inline int ReadCentralDirectories(const std::string& folder) {
  int members = 0;
  ForEachFile(folder, [&](const std::string& path) {
    unzFile zip = unzOpen(path.c_str());
    if (zip == nullptr) return;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
      unz_file_info info;
      char name[256];
      if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK)
        ++members;
    }
    unzClose(zip);
  });
  return members;
}

}  // namespace bench
