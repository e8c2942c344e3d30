// bench_ui.cpp: the Wine half of the benchmark (being written).
#include "tools/bench/bench_table.h"

int main() { return 0; }
