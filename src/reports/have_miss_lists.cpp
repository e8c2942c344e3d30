// have_miss_lists.cpp: counting, sorting the table and writing the two lists.
#include "reports/have_miss_lists.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/text.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "naming/inclusion.h"
#include "platform/file_system.h"
#include "reports/rom_list.h"
#include "settings/settings.h"
#include "ui/program_dir.h"
#include "ui/window.h"

namespace {

constexpr char kSaveError[] = "Save Error";

const char* SortKey(int index) {
  return g_settings.NUM ? g_roms[index].number : g_roms[index].name;
}

// Moves the records so that position p receives the record that stood at order[p]; each
// record moves once, following the cycles of the permutation.
void PermuteTable(std::vector<int16_t>& order) {
  for (int start = 0; start < rom_count; ++start) {
    if (order[start] == start) continue;
    RomRecord held = g_roms[start];  // the one record in flight
    int at = start;
    while (order[at] != start) {
      int from = order[at];
      g_roms[at] = g_roms[from];
      order[at] = static_cast<int16_t>(at);
      at = from;
    }
    g_roms[at] = held;
    order[at] = static_cast<int16_t>(at);
  }
}

// Writes one formatted line, remembering a failed write in ok.
void WriteLine(FILE* file, bool* ok, const char* text) {
  if (fputs(text, file) == EOF || fputc('\n', file) == EOF) *ok = false;
}

}  // namespace

void SortRomTable() {
  if (rom_count < 2) return;
  // The exchange sort decides the order, equal keys included, so it is kept; but it compares
  // ranks, not texts. Keys are ranked once (equal keys share a rank), and each of the sort's
  // comparisons of two ranks gives what comparing their texts would.
  std::vector<int16_t> by_key(rom_count);
  for (int i = 0; i < rom_count; ++i) by_key[i] = static_cast<int16_t>(i);
  std::sort(by_key.begin(), by_key.end(),
            [](int16_t a, int16_t b) { return CompareFolded(SortKey(a), SortKey(b)) < 0; });
  // Each slot holds a rank in its high half and a record's position in its low half.
  std::vector<uint32_t> slots(rom_count);
  uint32_t rank = 0;
  for (int i = 0; i < rom_count; ++i) {
    if (i > 0 && CompareFolded(SortKey(by_key[i - 1]), SortKey(by_key[i])) != 0) ++rank;
    slots[by_key[i]] = rank << 16 | static_cast<uint32_t>(by_key[i]);
  }
  for (int p = 0; p + 1 < rom_count; ++p) {
    uint32_t held = slots[p];
    for (int q = p + 1; q < rom_count; ++q) {
      if ((held >> 16) > (slots[q] >> 16)) {
        slots[p] = slots[q];
        slots[q] = held;
        held = slots[p];
      }
    }
  }
  std::vector<int16_t> order(rom_count);
  for (int i = 0; i < rom_count; ++i) order[i] = static_cast<int16_t>(slots[i] & 0xFFFF);
  PermuteTable(order);
}

int SaveLists() {
  Window& window = MainWindow();
  char have_path[kProgramFilePathSize], miss_path[kProgramFilePathSize];
  FILE* have_list = nullptr;
  if (ProgramFilePath(have_path, kHaveListName)) have_list = OpenFile(have_path, "wt");
  if (have_list == nullptr) {
    window.ShowMessage("Unable To Open Have List!", kSaveError);
    return 0;
  }
  FILE* miss_list = nullptr;
  if (ProgramFilePath(miss_path, kMissListName)) miss_list = OpenFile(miss_path, "wt");
  if (miss_list == nullptr) {
    CloseFile(have_list);
    window.ShowMessage("Unable To Open Miss List!", kSaveError);
    return 0;
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
  if (!have_ok) {
    window.ShowMessage("Unable To Write Have List!", kSaveError);
    return 0;
  }
  if (!miss_ok) {
    window.ShowMessage("Unable To Write Miss List!", kSaveError);
    return 0;
  }
  window.ShowMessage("Saved Logs!", "Save");
  return 1;
}
