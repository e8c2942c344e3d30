// bench_main.cpp: the native benchmark: generates its workloads in a fresh folder, measures the
// core's public functions with a quiet window, and prints one table, every figure beside its
// anchor from the same run. Run on demand (scripts/bench); never a timed test.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "database/rom_table.h"
#include "platform/program_dir.h"
#include "settings/settings.h"
#include "support/temp_folder.h"
#include "tools/bench/sections.h"
#include "tools/bench/timing.h"

namespace bench {

bool Check(bool ok, const std::string& what) {
  if (!ok) fprintf(stderr, "bench: %s\n", what.c_str());
  return ok;
}

int64_t ReadToNowhere(const std::string& path) {
  static char block[1 << 16];
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return -1;
  int64_t total = 0;
  size_t got;
  while ((got = fread(block, 1, sizeof block, file)) > 0) total += static_cast<int64_t>(got);
  fclose(file);
  return total;
}

int CountLines(const std::string& path) {
  std::string text = ReadFile(path);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string TakeMessage(QuietWindow& window) {
  std::string text = window.messages().empty() ? "" : window.messages().back().text;
  window.ClearRecord();
  return text;
}

namespace {

// The whole benchmark, in the child process; its exit code.
int RunBenchmark(const Sizes& sizes, const std::string& work) {
  QuietWindow window(false);
  Context context{sizes, work, work + "/program", &window};
  std::error_code error;
  if (!Check(std::filesystem::create_directory(context.program_dir, error),
             "cannot make " + context.program_dir))
    return 1;
  SetMainWindow(&window);
  SetProgramDirectory(SystemPath(context.program_dir + "/tarnwick.exe").c_str());
  ResetSettings();
  ClearRomTable();

  PrintHeader();
  double start = NowMs();
  fprintf(stderr, "bench: CRC-32 rows\n");
  if (!RunCrcRows(context)) return 1;
  fprintf(stderr, "bench: writing the collections and the database\n");
  ScanWorkload workload;
  if (!Check(MakeScanWorkload(sizes, work, &workload), "cannot write the scan workload")) return 1;
  fprintf(stderr, "bench: Scan, Rename and Move rows\n");
  if (!RunScanRows(context, workload)) return 1;
  fprintf(stderr, "bench: table rows\n");
  if (!RunTableRows(context, workload)) return 1;
  fprintf(stderr, "bench: done in %.0f s\n", (NowMs() - start) / 1000);
  return 0;
}

pid_t g_child = 0;

// The parent passes an interrupt or termination on to the child, then cleans up after it.
void ForwardSignal(int signal_number) {
  if (g_child > 0) kill(g_child, signal_number);
}

int Usage() {
  fprintf(stderr,
          "usage: tarnwick_bench [--quick] [--work DIR]\n"
          "  --quick     every workload scaled down: a few seconds in all\n"
          "  --work DIR  where the workload folder is made (default: $TMPDIR or /tmp)\n");
  return 2;
}

}  // namespace

}  // namespace bench

int main(int argc, char** argv) {
  bool quick = false;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--quick") == 0)
      quick = true;
    else if (strcmp(argv[i], "--work") == 0 && i + 1 < argc)
      setenv("TMPDIR", argv[++i], 1);  // where the workload folder is made
    else
      return bench::Usage();
  }
  TempFolder folder("tarnwick-bench");  // removed by the parent, whatever the child did
  if (!folder.ok()) {
    const char* base = getenv("TMPDIR");
    fprintf(stderr, "bench: cannot make a folder in %s\n", base != nullptr ? base : "/tmp");
    return 1;
  }
  std::string work = std::filesystem::absolute(folder.path()).generic_string();
  fprintf(stderr, "bench: workload in %s\n", work.c_str());
  pid_t child = fork();
  if (child == 0) {
    int code = bench::RunBenchmark(quick ? bench::QuickSizes() : bench::FullSizes(), work);
    fflush(nullptr);
    _exit(code);
  }
  int code = 1;
  if (child > 0) {
    bench::g_child = child;
    // Until the child is reaped its id cannot be reused, so passing a signal on is safe.
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) signal(signal_number, bench::ForwardSignal);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (WIFSIGNALED(status)) fprintf(stderr, "bench: stopped by signal %d\n", WTERMSIG(status));
  } else {
    perror("bench: fork");
  }
  return code;
}
