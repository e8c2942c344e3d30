// program_dir.cpp: the program directory, fixed at start-up.
#include "platform/program_dir.h"

static char g_program_dir[kProgramDirSize];

void SetProgramDirectory(const char* executable_path) {
  CopyText(g_program_dir, executable_path);
  for (size_t i = strlen(g_program_dir); i > 1; --i) {
    char c = g_program_dir[i - 1];
    if (c == '\\' || c == ':') {
      g_program_dir[i] = '\0';
      return;
    }
  }
}

const char* ProgramDirectory() { return g_program_dir; }
