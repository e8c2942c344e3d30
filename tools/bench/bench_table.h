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

// A figure with about four significant digits, so that a time of a few microseconds still
// shows beside one of seconds.
inline std::string FigureText(double value) {
  char text[32];
  snprintf(text, sizeof text, value >= 100 ? "%.1f" : value >= 1 ? "%.2f" : "%.3f", value);
  return text;
}

inline void PrintHeader(FILE* out = stdout) {
  fprintf(out, "%-50s %12s %-8s  %-34s %12s %8s  %s\n", "Workload", "Ours", "Unit", "Anchor",
          "Anchor", "Ratio", "Goal");
  fprintf(out, "%-50s %12s %-8s  %-34s %12s %8s  %s\n", "", "", "", "", "", "(time)", "");
}

inline void PrintRow(const Row& row, FILE* out = stdout) {
  fprintf(out, "%-50.50s %12s %-8.8s  %-34.34s %12s %8.2f  %s\n", row.workload.c_str(),
          FigureText(row.ours).c_str(), row.unit.c_str(), row.anchor.c_str(),
          FigureText(row.anchor_figure).c_str(), TimeRatio(row), row.goal.c_str());
  fflush(out);
}

}  // namespace bench
