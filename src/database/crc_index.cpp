// crc_index.cpp: a sorted array of packed crc texts; a lookup is one binary search.
#include "database/crc_index.h"

#include <algorithm>

#include "base/text.h"

bool CrcIndex::PackText(const char* text, uint64_t* key) {
  uint64_t packed = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    if (i == 8) return false;
    packed |= uint64_t{FoldByte(static_cast<unsigned char>(text[i]))} << (8 * i);
  }
  *key = packed;
  return true;
}

bool CrcIndex::CrcTextMatches(int index, const char* text) {
  return EqualFolded(g_roms[index].crc, text);
}

void CrcIndex::Build() {
  count_ = rom_count;
  packed_count_ = 0;
  for (int i = 0; i < count_; ++i) {
    uint64_t key;
    // The field holds at most 127 bytes and its terminator, so the pack stops in time.
    if (PackText(g_roms[i].crc, &key)) entries_[packed_count_++] = {key, i};
  }
  std::sort(entries_, entries_ + packed_count_, [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.index < b.index;
  });
}

int CrcIndex::FirstOf(uint64_t key) const {
  const Entry* first =
      std::lower_bound(entries_, entries_ + packed_count_, key,
                       [](const Entry& entry, uint64_t k) { return entry.key < k; });
  return static_cast<int>(first - entries_);
}
