// bench_ui.cpp: the Wine half of the benchmark. Starts the real tarnwick.exe in generated
// program folders and times, from outside as a user would meet them, the start-up with a full
// database, the show-filter clicks and a scan, each beside an anchor measured in the same run.
// Prints rows only (the native benchmark prints the header); diagnostics go to stderr.
#include <unzip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "e2e/ui_driver.h"
#include "tools/bench/bench_table.h"
#include "tools/bench/wine/ui_collection.h"

namespace {

constexpr int kScan = 1014;
constexpr int kShowAll = 1025;
constexpr int kShowHave = 1026;
constexpr int kKnownCounter = 1028;

struct Sizes {
  int records;
  int zips;
  int repetitions;
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times) {
  if (times.empty()) return 0;
  std::sort(times.begin(), times.end());
  size_t middle = times.size() / 2;
  return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

// A failed step ends the benchmark: a figure from a run that went wrong would mislead.
struct Failure {
  std::string what;
};

void Check(const ::testing::AssertionResult& step, const std::string& what) {
  if (!step) throw Failure{what + ": " + step.message()};
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw Failure{what};
}

std::string ProgramExe() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string exe(path, length < sizeof path ? length : 0);
  return exe.substr(0, exe.find_last_of("\\/") + 1) + "tarnwick.exe";
}

// A program folder with its own copy of tarnwick.exe, started and closed as often as needed;
// the INI and haves file are written again before each start, since a run may change them.
class ProgramFolder {
 public:
  ProgramFolder(const std::string& exe, std::vector<std::string> ini, std::string haves)
      : ini_(std::move(ini)), haves_(std::move(haves)) {
    Check(folder_.ok() && output_.ok(), "no temporary folder");
    Check(CopyFileA(exe.c_str(), (folder_ / "tarnwick.exe").c_str(), FALSE) != 0,
          "cannot copy " + exe);
  }

  // Starts the program and waits for the idle window listing rows rows; returns the time
  // from CreateProcess to there.
  double Start(e2e::Program& app, int rows) {
    Prepare();
    double started = Now();
    Check(app.Start(folder_ / "tarnwick.exe", folder_.path(), output_ / "stdout.txt"), "start");
    Check(app.WaitIdle(), "start-up");
    Check(app.WaitUntil("the list of " + std::to_string(rows) + " rows",
                        [&] { return app.RowCount() == rows; }),
          "start-up");
    return Now() - started;
  }

  void Close(e2e::Program& app) {
    DWORD code = 1;
    Check(app.Close(&code), "close");
    Check(code == 0, "the program ended with code " + std::to_string(code));
  }

 private:
  void Prepare() {
    std::string ini = folder_ / "qvxgba.ini", haves = folder_ / "qvxgba.db";
    DeleteFileA(ini.c_str());
    DeleteFileA(haves.c_str());
    if (!ini_.empty()) Check(bench::WriteIni(ini, ini_), "cannot write " + ini);
    if (!haves_.empty()) Check(bench::WriteWholeFile(haves, haves_), "cannot write " + haves);
  }

  e2e::TempFolder folder_;
  e2e::TempFolder output_;  // the program's standard output, outside its folder
  std::vector<std::string> ini_;
  std::string haves_;
};

// The click on a show-filter button, from the click to the UI thread back in its loop.
double TimeClick(e2e::Program& app, int button, int rows) {
  double started = Now();
  Check(app.ClickRadio(button), "click");
  Check(app.Sync(), "click");
  double took = Now() - started;
  int shown = app.RowCount();
  Check(shown == rows,
        "the click listed " + std::to_string(shown) + " rows, not " + std::to_string(rows));
  return took;
}

// What the scan's identification costs without the window: the folder listed and each zip's
// central directory read, in this process.
double TimeCentralDirectories(const std::string& folder, int zips) {
  double started = Now();
  int members = 0;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  Check(find != INVALID_HANDLE_VALUE, "cannot list " + folder);
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    unzFile zip = unzOpen((folder + "\\" + entry.cFileName).c_str());
    if (zip == nullptr) continue;
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
      unz_file_info info;
      char name[256];
      if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK)
        ++members;
      status = unzGoToNextFile(zip);
    }
    unzClose(zip);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  double took = Now() - started;
  Check(members == zips,
        "read " + std::to_string(members) + " members, not " + std::to_string(zips));
  return took;
}

std::string Of(int repetitions) {
  return repetitions > 1 ? ", median of " + std::to_string(repetitions) : "";
}

void Run(const Sizes& sizes) {
  const std::string exe = ProgramExe();
  e2e::TempFolder work;
  Check(work.ok(), "no temporary folder");
  std::vector<bench::BenchRom> roms = bench::MakeRoms(sizes.records);
  const std::string full_db = work / "Bench (QVX).zip", empty_db = work / "Empty (QVX).zip";
  const std::string source = work / "Collection";
  Check(bench::WriteDatabaseZip(full_db, roms), "cannot write " + full_db);
  Check(bench::WriteDatabaseZip(empty_db, {}), "cannot write " + empty_db);
  Check(CreateDirectoryA(source.c_str(), nullptr) != 0, "cannot make " + source);
  Check(bench::WriteRomZips(source, roms, sizes.zips), "cannot write the ROM zips");
  const std::string haves = bench::HavesOfEvenRecords(roms);
  const int owned = (sizes.records + 1) / 2;
  fprintf(stderr, "bench_ui: %d records, %d zips, %d repetitions\n", sizes.records, sizes.zips,
          sizes.repetitions);
  fflush(stderr);

  ProgramFolder full(exe, {"DB=" + full_db}, haves);
  ProgramFolder bare(exe, {}, "");
  ProgramFolder empty(exe, {"DB=" + empty_db}, "");
  e2e::Program app;

  // Wine's first process start loads and maps its DLLs; that is not the program's cost.
  bare.Start(app, 0);
  bare.Close(app);

  // Start-up, the two kinds taking turns so a drift of the machine touches both alike.
  std::vector<double> startup, startup_anchor;
  for (int r = 0; r < sizes.repetitions; ++r) {
    startup_anchor.push_back(bare.Start(app, 0));
    bare.Close(app);
    startup.push_back(full.Start(app, sizes.records));
    Check(app.Text(kKnownCounter) ==
              std::to_string(sizes.records) + " (" + std::to_string(sizes.records) + ")",
          "known counter \"" + app.Text(kKnownCounter) + "\"");
    full.Close(app);
  }

  // The clicks: Show Have then Show All, each followed by the UI thread's round trip.
  std::vector<double> have_clicks, all_clicks, anchor_clicks;
  full.Start(app, sizes.records);
  for (int r = 0; r < sizes.repetitions; ++r) {
    have_clicks.push_back(TimeClick(app, kShowHave, owned));
    all_clicks.push_back(TimeClick(app, kShowAll, sizes.records));
  }
  full.Close(app);
  empty.Start(app, 0);
  for (int r = 0; r < sizes.repetitions; ++r) {
    anchor_clicks.push_back(TimeClick(app, kShowHave, 0));
    anchor_clicks.push_back(TimeClick(app, kShowAll, 0));
  }
  empty.Close(app);

  // The scan: a fresh haves file each time, so every zip is a new find.
  std::vector<double> scans, scan_anchor;
  ProgramFolder scanning(exe, {"DB=" + full_db, "SRC=" + source, "DEST="}, haves);
  for (int r = 0; r < sizes.repetitions; ++r) {
    scan_anchor.push_back(TimeCentralDirectories(source, sizes.zips));
    scanning.Start(app, sizes.records);
    double started = Now();
    Check(app.Press(kScan), "scan");
    Check(app.Answer("Scan", "Done!", e2e::kScanWaitMs * 5), "scan");
    scans.push_back(Now() - started);
    Check(app.WaitIdle(), "after the scan");
    Check(app.ClickRadio(kShowHave), "after the scan");
    Check(app.Sync(), "after the scan");
    Check(app.RowCount() == owned + sizes.zips, "the scan did not own every zip");
    scanning.Close(app);
  }

  const std::string records = std::to_string(sizes.records);
  const std::string of = Of(sizes.repetitions);
  bench::PrintRow({"Wine start-up, " + records + " rows" + of, Median(startup), "ms",
                   "start-up without INI, no rows", Median(startup_anchor), "<= 1000 ms"});
  bench::PrintRow({"Wine Show Have click, " + std::to_string(owned) + " rows" + of,
                   Median(have_clicks), "ms", "same click, empty database", Median(anchor_clicks),
                   "<= 150 ms"});
  bench::PrintRow({"Wine Show All click, " + records + " rows" + of, Median(all_clicks), "ms",
                   "same click, empty database", Median(anchor_clicks), "<= 150 ms"});
  bench::PrintRow({"Wine Scan, " + std::to_string(sizes.zips) + " zips to Done!" + of,
                   Median(scans), "ms", "list + central dirs, no window", Median(scan_anchor), ""});
}

}  // namespace

int main(int argc, char** argv) {
  Sizes sizes = {8096, 2000, 5};
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--quick") == 0) {
      sizes = {500, 100, 1};
    } else {
      fprintf(stderr, "usage: bench_ui.exe [--quick]\n");
      return 2;
    }
  }
  try {
    Run(sizes);
  } catch (const Failure& failure) {
    fprintf(stderr, "bench_ui: %s\n", failure.what.c_str());
    return 1;
  }
  return 0;
}
