// sections.h: the benchmark's three groups of rows, each measured against its anchors in the
// same run, and what they share.
#pragma once

#include <string>

#include "support/quiet_window.h"
#include "support/temp_folder.h"
#include "tools/bench/bench_table.h"
#include "tools/bench/workloads.h"

namespace bench {

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

// Reads the file to nowhere in 64 KiB blocks; its size, or -1 when it cannot be opened.
int64_t ReadToNowhere(const std::string& path);

// Lines in a text file; 0 when it does not exist.
int CountLines(const std::string& path);

}  // namespace bench
