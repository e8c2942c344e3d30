// bench_table.h: the one table both benchmark programs print, a row per measured workload,
// each beside its anchor from the same run.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

struct Row {
  std::string workload;  // what was measured, with its size: "CRC-32, 16 MiB images"
  double ours;           // our figure, in unit
  std::string unit;      // "MB/s", "files/s", "ms"
  std::string anchor;    // what it is compared with: "zlib crc32()", "read to nowhere"
  double anchor_figure;  // the anchor's figure in the same unit, from the same run
  std::string goal;      // the goal set for ratio or figure, or empty: "<= 1.0", "<= 150 ms"
};

// Higher is better for rates ("/s"), lower for times; the ratio is always our time over the
// anchor's, so below 1 means faster than the anchor.
inline bool IsRate(const std::string& unit) { return unit.find("/s") != std::string::npos; }
inline double TimeRatio(const Row& row) {
  if (row.ours <= 0 || row.anchor_figure <= 0) return 0;
  return IsRate(row.unit) ? row.anchor_figure / row.ours : row.ours / row.anchor_figure;
}

inline void PrintHeader(FILE* out = stdout) {
  fprintf(out, "%-46s %12s %-8s  %-34s %12s %7s  %s\n", "Workload", "Ours", "Unit", "Anchor",
          "Anchor", "Ratio", "Goal");
  fprintf(out, "%-46s %12s %-8s  %-34s %12s %7s  %s\n", "", "", "", "", "", "(time)", "");
}

inline void PrintRow(const Row& row, FILE* out = stdout) {
  fprintf(out, "%-46.46s %12.1f %-8.8s  %-34.34s %12.1f %7.2f  %s\n", row.workload.c_str(),
          row.ours, row.unit.c_str(), row.anchor.c_str(), row.anchor_figure, TimeRatio(row),
          row.goal.c_str());
  fflush(out);
}

}  // namespace bench
