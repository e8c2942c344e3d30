// make_demo.cpp: makes the demo in a program folder for the program running under Wine.
//
//   make_demo <program-folder>
//
// Exit codes: 0 made; 3 the folder already has qvxgba.ini (left alone); 1 anything else.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/temp_folder.h"
#include "tools/demo/demo_maker.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_demo <program-folder>\n");
    return 1;
  }
  char absolute[PATH_MAX];
  if (realpath(argv[1], absolute) == nullptr) {
    fprintf(stderr, "make_demo: no folder %s\n", argv[1]);
    return 1;
  }
  std::string message;
  // Under Wine, drive Z: is the root "/".
  switch (MakeDemo(absolute, "Z:" + SystemPath(absolute), &message)) {
    case DemoResult::kMade:
      printf("make_demo: demo made in %s/%s\n", absolute, kDemoFolder);
      return 0;
    case DemoResult::kIniExists:
      fprintf(stderr, "make_demo: %s\n", message.c_str());
      return 3;
    default:
      fprintf(stderr, "make_demo: %s\n", message.c_str());
      return 1;
  }
}
