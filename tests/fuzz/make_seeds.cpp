// make_seeds.cpp: writes the fuzz targets' starting corpora into the folder given.
#include <cstdio>

#include "fuzz_seed_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  if (!WriteSeedCorpora(argv[1])) {
    fprintf(stderr, "%s: could not write every seed under %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
