// bench_ui.cpp: the Wine half of the benchmark. Starts the real tarnwick.exe in generated
// program folders and times, from outside as a user would meet them, the start-up with a full
// database, the show-filter clicks and a scan, each beside an anchor measured in the same run.
// Prints rows only (the native benchmark prints the header); diagnostics go to stderr.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/controls.h"
#include "database/haves_file.h"
#include "e2e/ui_driver.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "settings/ini_file.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"
#include "tools/bench/bench.h"

namespace bench {
namespace {

struct Sizes {
  int records, zips, repetitions;
};

// A failed step ends the benchmark, said on stderr: a figure from a run that went wrong
// would mislead.
bool Fail(const std::string& what) {
  fprintf(stderr, "bench_ui: %s\n", what.c_str());
  return false;
}

bool Check(const ::testing::AssertionResult& step, const std::string& what) {
  return step ? true : Fail(what + ": " + step.message());
}

// tarnwick.exe beside this program, found as the program finds its own folder.
std::string ProgramExe() {
  char path[kProgramFilePathSize];
  if (!ExecutablePath(path, sizeof path)) return "";
  SetProgramDirectory(path);
  return ProgramFilePath(path, "tarnwick.exe") ? path : "";
}

// A program folder with its own copy of tarnwick.exe, started and closed as often as needed;
// the INI and haves file are written again before each start, since a run may change them.
class ProgramFolder {
 public:
  ProgramFolder(const std::string& exe, std::string ini, std::string haves)
      : ini_(std::move(ini)), haves_(std::move(haves)) {
    made_ = folder_.ok() && CopyFileA(exe.c_str(), folder_.System("tarnwick.exe").c_str(), FALSE);
  }
  bool made() const { return made_; }

  // Starts the program and waits for the idle window listing rows rows; the time from
  // CreateProcess to there goes into times, when given.
  bool Start(e2e::Program& app, int rows, std::vector<double>* times = nullptr) {
    if (!Prepare()) return false;
    double started = NowMs();
    bool up = Check(app.Start(folder_.System("tarnwick.exe"), folder_.System()), "start") &&
              Check(app.WaitIdle(), "start-up") &&
              Check(app.WaitUntil("the list of " + std::to_string(rows) + " rows",
                                  [&] { return app.Query(IDC_ROM_LIST, LB_GETCOUNT) == rows; }),
                    "start-up");
    if (up && times != nullptr) times->push_back(NowMs() - started);
    return up;
  }

  bool Close(e2e::Program& app) { return Check(app.Close(), "close"); }

 private:
  bool Prepare() {
    std::string ini = folder_.System(kIniFileName), haves = folder_.System(kHavesFileName);
    DeleteFileA(ini.c_str());
    DeleteFileA(haves.c_str());
    if (!ini_.empty() && !WriteFile(ini, ini_)) return Fail("cannot write " + ini);
    if (!haves_.empty() && !WriteFile(haves, haves_)) return Fail("cannot write " + haves);
    return true;
  }

  TempFolder folder_;
  std::string ini_, haves_;  // the INI's lines end in CR LF
  bool made_;
};

// The click on a show-filter button, from the click to the UI thread back in its loop.
bool TimeClick(e2e::Program& app, int button, int rows, std::vector<double>* times) {
  double started = NowMs();
  if (!Check(app.Click(button), "click") || !Check(app.Sync(), "click")) return false;
  double took = NowMs() - started;
  int shown = app.Query(IDC_ROM_LIST, LB_GETCOUNT);
  if (shown != rows)
    return Fail("the click listed " + std::to_string(shown) + " rows, not " + std::to_string(rows));
  times->push_back(took);
  return true;
}

// A Scan from the click to its "Done!", in a program started afresh with half the table
// owned, so every zip is a new find; then the list must own them all.
bool TimeScan(e2e::Program& app, ProgramFolder& folder, const Sizes& sizes,
              std::vector<double>* times) {
  const int owned = (sizes.records + 1) / 2;
  if (!folder.Start(app, sizes.records)) return false;
  double started = NowMs();
  if (!Check(app.Press(IDC_SCAN), "scan") ||
      !Check(app.Answer("Scan", "Done!", e2e::kScanWaitMs * 5), "scan"))
    return false;
  times->push_back(NowMs() - started);
  if (!Check(app.WaitIdle(), "after the scan") ||
      !Check(app.Click(IDC_SHOW_HAVE), "after the scan") || !Check(app.Sync(), "after the scan"))
    return false;
  if (app.Query(IDC_ROM_LIST, LB_GETCOUNT) != owned + sizes.zips)
    return Fail("the scan did not own every zip");
  return folder.Close(app);
}

// A name led by a word that jumps around the alphabet from record to record, some in lower
// case (the list sorts ignoring case), and the record's number to keep it unique: the sorted
// list box has to place every row rather than append it.
std::string NameOf(int index) {
  static const char* const kWords[] = {
      "Zephyr",  "amber", "Quill",  "Harbor", "meadow",  "Copper", "Vortex", "lantern",
      "Bramble", "Ember", "Nimbus", "orchid", "Granite", "Falcon", "willow", "Docket"};
  unsigned hash = static_cast<unsigned>(index) * 2654435761u;
  return std::string(kWords[(hash >> 12) % 16]) + " " + kWords[(hash >> 20) % 16] + " " +
         std::to_string(10000 + index) + " (E)";
}

bool Run(const Sizes& sizes) {
  const std::string exe = ProgramExe();
  TempFolder work;
  if (!work.ok()) return Fail("no temporary folder");
  const std::string full_db = work.System("Bench (QVX).zip"),
                    empty_db = work.System("Empty (QVX).zip"),
                    logiqx_db = work.System("Bench (Logiqx).zip");
  const std::string source = work.System("Collection");
  std::vector<DatRom> roms;
  std::vector<DatGameOf> games;  // the same records as a No-Intro dat, zipped as downloaded
  std::vector<int> even;         // half the table, owned
  bool written = CreateDirectoryA(source.c_str(), nullptr);
  for (int i = 0; i < sizes.records; ++i) {
    std::string image = Image(i, 2048), name = NameOf(i);
    char number[16];
    snprintf(number, sizeof number, "%04d", i + 1);
    roms.push_back(RomOf(image, name, number, "Roms", "Grp"));
    games.push_back(GameOf(image, name));
    if (i % 2 == 0) even.push_back(i);
    // The zips to scan hold the records at 4k + 1, never owned, each named as the list names
    // it so the scan logs nothing; stored, as the scan reads only the central directory.
    if (i % 4 == 1 && i / 4 < sizes.zips)
      written = written && WriteZip(source + "\\" + name + ".zip", {{name + ".gba", image, false}});
  }
  if (!written || !WriteDatabase(full_db, roms) || !WriteDatabase(empty_db, {}) ||
      !WriteZip(logiqx_db, {{"gba.xml", TodayDat(games, DatStyle::kStandard)}}))
    return Fail("cannot write the databases and the zips in " + work.path());
  const std::string haves = HavesOf(roms, even);
  const int owned = (sizes.records + 1) / 2;
  fprintf(stderr, "bench_ui: %d records, %d zips, %d repetitions\n", sizes.records, sizes.zips,
          sizes.repetitions);
  fflush(stderr);

  ProgramFolder full(exe, "DB=" + full_db + "\r\n", haves);
  ProgramFolder logiqx(exe, "DB=" + logiqx_db + "\r\n", haves);
  ProgramFolder bare(exe, "", "");
  ProgramFolder empty(exe, "DB=" + empty_db + "\r\n", "");
  ProgramFolder scanning(exe, "DB=" + full_db + "\r\nSRC=" + source + "\r\nDEST=\r\n", haves);
  for (ProgramFolder* folder : {&full, &logiqx, &bare, &empty, &scanning})
    if (!folder->made()) return Fail("cannot copy " + exe + " into a folder of its own");
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

  // The scan against what its identification costs without the window, in this process.
  std::vector<double> scans, scan_anchor;
  for (int r = 0; r < sizes.repetitions; ++r) {
    double started = NowMs();
    int members = ReadCentralDirectories(source);
    scan_anchor.push_back(NowMs() - started);
    if (members != sizes.zips) return Fail(std::to_string(members) + " members in the zips");
    if (!TimeScan(app, scanning, sizes, &scans)) return false;
  }

  const std::string records = std::to_string(sizes.records);
  const std::string of =
      sizes.repetitions > 1 ? ", median of " + std::to_string(sizes.repetitions) : "";
  PrintRow({"Wine start-up, " + records + " rows" + of, Median(startup), "ms",
            "start-up without INI, no rows", Median(startup_anchor), "<= 1000 ms"});
  PrintRow({"Wine start-up, " + records + " rows, Logiqx dat" + of, Median(startup_logiqx), "ms",
            "start-up without INI, no rows", Median(startup_anchor), "<= 1000 ms"});
  PrintRow({"Wine Show Have click, " + std::to_string(owned) + " rows" + of, Median(have_clicks),
            "ms", "same click, empty database", Median(anchor_clicks), "<= 150 ms"});
  PrintRow({"Wine Show All click, " + records + " rows" + of, Median(all_clicks), "ms",
            "same click, empty database", Median(anchor_clicks), "<= 150 ms"});
  PrintRow({"Wine Scan, " + std::to_string(sizes.zips) + " zips to Done!" + of, Median(scans), "ms",
            "list + central dirs, no window", Median(scan_anchor), "<= 1.5"});
  return true;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  bench::Sizes sizes = {8096, 2000, 5};
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--quick") == 0) {
      sizes = {500, 100, 1};
    } else {
      fprintf(stderr, "usage: bench_ui.exe [--quick]\n");
      return 2;
    }
  }
  return bench::Run(sizes) ? 0 : 1;
}
