// have_miss_lists.cpp: counting, sorting the table and writing the two lists.
#include "reports/have_miss_lists.h"

#include <cstdio>

#include "base/text.h"
#include "base/version.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "naming/inclusion.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "reports/list_order.h"
#include "reports/rom_rows.h"

namespace {

// Writes one line, remembering a failed write in ok.
void WriteLine(FILE* file, bool* ok, const char* text) {
  if (fputs(text, file) == EOF || fputc('\n', file) == EOF) *ok = false;
}

}  // namespace

ListsWritten WriteHaveMissLists() {
  char have_path[kProgramFilePathSize], miss_path[kProgramFilePathSize];
  FILE* have_list = nullptr;
  if (ProgramFilePath(have_path, kHaveListName)) have_list = OpenFile(have_path, "wt");
  if (have_list == nullptr) return ListsWritten::kHaveNotOpened;
  FILE* miss_list = nullptr;
  if (ProgramFilePath(miss_path, kMissListName)) miss_list = OpenFile(miss_path, "wt");
  if (miss_list == nullptr) {
    CloseFile(have_list);
    return ListsWritten::kMissNotOpened;
  }

  RomCounts counts = CountRoms();
  bool have_ok = true, miss_ok = true;
  if (fprintf(miss_list,
              " You are missing %i of %i known Nintendo Gameboy Advance Vellum Project (QVXGBA "
              "v%s) Roms\n\n",
              static_cast<int>(counts.miss), static_cast<int>(counts.known), kVersion) < 0)
    miss_ok = false;
  if (fprintf(have_list,
              " You have %i of %i known Nintendo Gameboy Advance Vellum Project (QVXGBA v%s) "
              "Roms\n\n",
              static_cast<int>(counts.have), static_cast<int>(counts.known), kVersion) < 0)
    have_ok = false;

  SortRomTable();
  for (int i = 0; i < rom_count; ++i) {
    bool owned = IsOwned(g_roms[i]);
    if (!owned && IsRomIncluded(i)) WriteLine(miss_list, &miss_ok, BuildDisplayName(i).text);
    if (owned) WriteLine(have_list, &have_ok, BuildDisplayName(i).text);
  }
  if (!CloseFile(have_list)) have_ok = false;
  if (!CloseFile(miss_list)) miss_ok = false;

  // A list cut short by a full disk is reported, never passed off as saved.
  if (!have_ok) return ListsWritten::kHaveCut;
  if (!miss_ok) return ListsWritten::kMissCut;
  return ListsWritten::kWhole;
}
