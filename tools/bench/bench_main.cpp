// bench_main.cpp: the native benchmark: generates its workloads in a fresh folder, measures the
// core's public functions with a quiet window, and prints one table, every figure beside its
// anchor from the same run. Run on demand (scripts/bench); never a timed test.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/program_dir.h"
#include "tools/bench/sections.h"

namespace bench {

bool Check(bool ok, const std::string& what) {
  if (!ok) fprintf(stderr, "bench: %s\n", what.c_str());
  return ok;
}

int64_t ReadToNowhere(const std::string& path, unsigned long* crc) {
  static unsigned char block[1 << 16];
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return -1;
  int64_t total = 0;
  size_t got;
  while ((got = fread(block, 1, sizeof block, file)) > 0) {
    if (crc != nullptr) *crc = crc32(*crc, block, static_cast<uInt>(got));
    total += static_cast<int64_t>(got);
  }
  fclose(file);
  return total;
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
  PrintHeader();
  double start = NowMs();
  ScanWorkload workload;
  bool ok = RunCrcRows(context) &&
            Check(MakeScanWorkload(sizes, work, &workload), "cannot write the scan workload") &&
            RunScanRows(context, workload) && RunTableRows(context, workload);
  fprintf(stderr, "bench: %s in %.0f s\n", ok ? "done" : "failed", (NowMs() - start) / 1000);
  return ok ? 0 : 1;
}

pid_t g_child = 0;

// The parent passes an interrupt or termination on to the child, then cleans up after it.
void ForwardSignal(int signal_number) {
  if (g_child > 0) kill(g_child, signal_number);
}

}  // namespace

}  // namespace bench

int main(int argc, char** argv) {
  bench::Sizes sizes = {0, 8000, 500, 2u << 20, 8096, 5, 5};
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--quick") == 0) {
      sizes = {1, 200, 50, 256u << 10, 1024, 1, 1};  // a few seconds: every row once
    } else if (strcmp(argv[i], "--work") == 0 && i + 1 < argc) {
      setenv("TMPDIR", argv[++i], 1);  // where the workload folder is made
    } else {
      fprintf(stderr, "usage: tarnwick_bench [--quick] [--work DIR]\n");
      return 2;
    }
  }
  TempFolder folder("tarnwick-bench");  // removed by the parent, whatever the child did
  if (!bench::Check(folder.ok(), "cannot make the workload folder")) return 1;
  std::string work = std::filesystem::absolute(folder.path()).generic_string();
  fprintf(stderr, "bench: workload in %s\n", work.c_str());
  pid_t child = fork();
  if (child == 0) {
    int code = bench::RunBenchmark(sizes, work);
    fflush(nullptr);
    _exit(code);
  }
  if (!bench::Check(child > 0, "cannot start the benchmark's process")) return 1;
  bench::g_child = child;
  // Until the child is reaped its id cannot be reused, so passing a signal on is safe.
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) signal(signal_number, bench::ForwardSignal);
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return 1;  // a child not waited for never counts as a success
  if (WIFSIGNALED(status)) fprintf(stderr, "bench: stopped by signal %d\n", WTERMSIG(status));
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
