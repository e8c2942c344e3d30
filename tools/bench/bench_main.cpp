// bench_main.cpp: the native benchmark (being written).
#include "tools/bench/bench_table.h"

int main() {
  bench::PrintHeader();
  return 0;
}
