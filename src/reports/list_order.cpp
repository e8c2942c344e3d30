// list_order.cpp: the exchange sort of the table, on ranks instead of texts.
#include "reports/list_order.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/text.h"
#include "database/rom_table.h"
#include "settings/settings.h"

namespace {

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
