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

#include "app/controls.h"
#include "e2e/ui_driver.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"
#include "tools/bench/bench_table.h"
#include "tools/bench/wine/ui_collection.h"

namespace {

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

// A failed step ends the benchmark, said on stderr: a figure from a run that went wrong
// would mislead.
bool Fail(const std::string& what) {
  fprintf(stderr, "bench_ui: %s\n", what.c_str());
  return false;
}

bool Check(const ::testing::AssertionResult& step, const std::string& what) {
  return step ? true : Fail(what + ": " + step.message());
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
  ProgramFolder(std::vector<std::string> ini, std::string haves)
      : ini_(std::move(ini)), haves_(std::move(haves)) {}

  bool Make(const std::string& exe) {
    if (!folder_.ok()) return Fail("no temporary folder");
    if (!CopyFileA(exe.c_str(), folder_.System("tarnwick.exe").c_str(), FALSE))
      return Fail("cannot copy " + exe);
    return true;
  }

  // Starts the program and waits for the idle window listing rows rows; the time from
  // CreateProcess to there goes into times, when given.
  bool Start(e2e::Program& app, int rows, std::vector<double>* times = nullptr) {
    if (!Prepare()) return false;
    double started = Now();
    bool up = Check(app.Start(folder_.System("tarnwick.exe"), folder_.System()), "start") &&
              Check(app.WaitIdle(), "start-up") &&
              Check(app.WaitUntil("the list of " + std::to_string(rows) + " rows",
                                  [&] { return app.Query(IDC_ROM_LIST, LB_GETCOUNT) == rows; }),
                    "start-up");
    if (up && times != nullptr) times->push_back(Now() - started);
    return up;
  }

  bool Close(e2e::Program& app) { return Check(app.Close(), "close"); }

 private:
  bool Prepare() {
    std::string ini = folder_.System("qvxgba.ini"), haves = folder_.System("qvxgba.db");
    DeleteFileA(ini.c_str());
    DeleteFileA(haves.c_str());
    if (!ini_.empty() && !bench::WriteIni(ini, ini_)) return Fail("cannot write " + ini);
    if (!haves_.empty() && !bench::WriteWholeFile(haves, haves_))
      return Fail("cannot write " + haves);
    return true;
  }

  TempFolder folder_;
  std::vector<std::string> ini_;
  std::string haves_;
};

// The click on a show-filter button, from the click to the UI thread back in its loop.
bool TimeClick(e2e::Program& app, int button, int rows, std::vector<double>* times) {
  double started = Now();
  if (!Check(app.Click(button), "click") || !Check(app.Sync(), "click")) return false;
  double took = Now() - started;
  int shown = app.Query(IDC_ROM_LIST, LB_GETCOUNT);
  if (shown != rows)
    return Fail("the click listed " + std::to_string(shown) + " rows, not " + std::to_string(rows));
  times->push_back(took);
  return true;
}

// What the scan's identification costs without the window: the folder listed and each zip's
// central directory read, in this process.
bool TimeCentralDirectories(const std::string& folder, int zips, std::vector<double>* times) {
  double started = Now();
  int members = 0;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return Fail("cannot list " + folder);
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
  if (members != zips)
    return Fail("read " + std::to_string(members) + " members, not " + std::to_string(zips));
  times->push_back(took);
  return true;
}

// A Scan from the click to its "Done!", in a program started afresh with half the table
// owned, so every zip is a new find; then the list must own them all.
bool TimeScan(e2e::Program& app, ProgramFolder& folder, const Sizes& sizes,
              std::vector<double>* times) {
  const int owned = (sizes.records + 1) / 2;
  if (!folder.Start(app, sizes.records)) return false;
  double started = Now();
  if (!Check(app.Press(IDC_SCAN), "scan") ||
      !Check(app.Answer("Scan", "Done!", e2e::kScanWaitMs * 5), "scan"))
    return false;
  times->push_back(Now() - started);
  if (!Check(app.WaitIdle(), "after the scan") ||
      !Check(app.Click(IDC_SHOW_HAVE), "after the scan") || !Check(app.Sync(), "after the scan"))
    return false;
  if (app.Query(IDC_ROM_LIST, LB_GETCOUNT) != owned + sizes.zips)
    return Fail("the scan did not own every zip");
  return folder.Close(app);
}

std::string Of(int repetitions) {
  return repetitions > 1 ? ", median of " + std::to_string(repetitions) : "";
}

bool Run(const Sizes& sizes) {
  const std::string exe = ProgramExe();
  TempFolder work;
  if (!work.ok()) return Fail("no temporary folder");
  std::vector<bench::BenchRom> roms = bench::MakeRoms(sizes.records);
  const std::string full_db = work.System("Bench (QVX).zip"),
                    empty_db = work.System("Empty (QVX).zip"),
                    logiqx_db = work.System("Bench (Logiqx).zip");
  const std::string source = work.System("Collection");
  std::vector<DatGameOf> games;  // the same records as a No-Intro dat, zipped as downloaded
  for (const bench::BenchRom& rom : roms) games.push_back(GameOf(rom.image, rom.name));
  if (!bench::WriteDatabaseZip(full_db, roms) || !bench::WriteDatabaseZip(empty_db, {}) ||
      !WriteZip(logiqx_db, {{"gba.xml", TodayDat(games, DatStyle::kStandard)}}))
    return Fail("cannot write the databases in " + work.path());
  if (!CreateDirectoryA(source.c_str(), nullptr) || !bench::WriteRomZips(source, roms, sizes.zips))
    return Fail("cannot write the ROM zips in " + source);
  const std::string haves = bench::HavesOfEvenRecords(roms);
  const int owned = (sizes.records + 1) / 2;
  fprintf(stderr, "bench_ui: %d records, %d zips, %d repetitions\n", sizes.records, sizes.zips,
          sizes.repetitions);
  fflush(stderr);

  ProgramFolder full({"DB=" + full_db}, haves);
  ProgramFolder logiqx({"DB=" + logiqx_db}, haves);
  ProgramFolder bare({}, "");
  ProgramFolder empty({"DB=" + empty_db}, "");
  ProgramFolder scanning({"DB=" + full_db, "SRC=" + source, "DEST="}, haves);
  if (!full.Make(exe) || !logiqx.Make(exe) || !bare.Make(exe) || !empty.Make(exe) ||
      !scanning.Make(exe))
    return false;
  e2e::Program app;

  // Wine's first process start loads and maps its DLLs; that is not the program's cost.
  if (!bare.Start(app, 0) || !bare.Close(app)) return false;

  // Start-up, the two kinds taking turns so a drift of the machine touches both alike.
  const std::string known =
      std::to_string(sizes.records) + " (" + std::to_string(sizes.records) + ")";
  std::vector<double> startup, startup_logiqx, startup_anchor;
  for (int r = 0; r < sizes.repetitions; ++r) {
    if (!bare.Start(app, 0, &startup_anchor) || !bare.Close(app)) return false;
    for (auto [folder, times] : {std::make_pair(&full, &startup), {&logiqx, &startup_logiqx}}) {
      if (!folder->Start(app, sizes.records, times)) return false;
      if (app.Text(IDC_KNOWN_COUNTER) != known)
        return Fail("known counter \"" + app.Text(IDC_KNOWN_COUNTER) + "\"");
      if (!folder->Close(app)) return false;
    }
  }

  // The clicks: Show Have then Show All, each followed by the UI thread's round trip.
  std::vector<double> have_clicks, all_clicks, anchor_clicks;
  if (!full.Start(app, sizes.records)) return false;
  for (int r = 0; r < sizes.repetitions; ++r) {
    if (!TimeClick(app, IDC_SHOW_HAVE, owned, &have_clicks) ||
        !TimeClick(app, IDC_SHOW_ALL, sizes.records, &all_clicks))
      return false;
  }
  if (!full.Close(app) || !empty.Start(app, 0)) return false;
  for (int r = 0; r < sizes.repetitions; ++r) {
    if (!TimeClick(app, IDC_SHOW_HAVE, 0, &anchor_clicks) ||
        !TimeClick(app, IDC_SHOW_ALL, 0, &anchor_clicks))
      return false;
  }
  if (!empty.Close(app)) return false;

  std::vector<double> scans, scan_anchor;
  for (int r = 0; r < sizes.repetitions; ++r) {
    if (!TimeCentralDirectories(source, sizes.zips, &scan_anchor) ||
        !TimeScan(app, scanning, sizes, &scans))
      return false;
  }

  const std::string records = std::to_string(sizes.records);
  const std::string of = Of(sizes.repetitions);
  bench::PrintRow({"Wine start-up, " + records + " rows" + of, Median(startup), "ms",
                   "start-up without INI, no rows", Median(startup_anchor), "<= 1000 ms"});
  bench::PrintRow({"Wine start-up, " + records + " rows, Logiqx dat" + of, Median(startup_logiqx),
                   "ms", "start-up without INI, no rows", Median(startup_anchor), "<= 1000 ms"});
  bench::PrintRow({"Wine Show Have click, " + std::to_string(owned) + " rows" + of,
                   Median(have_clicks), "ms", "same click, empty database", Median(anchor_clicks),
                   "<= 150 ms"});
  bench::PrintRow({"Wine Show All click, " + records + " rows" + of, Median(all_clicks), "ms",
                   "same click, empty database", Median(anchor_clicks), "<= 150 ms"});
  bench::PrintRow({"Wine Scan, " + std::to_string(sizes.zips) + " zips to Done!" + of,
                   Median(scans), "ms", "list + central dirs, no window", Median(scan_anchor),
                   "<= 1.5"});
  return true;
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
  return Run(sizes) ? 0 : 1;
}
