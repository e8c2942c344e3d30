// crc_index.h: which records carry a given crc text, for the scan's matching and for marking
// the haves. Each operation builds its own index over the table as it stands.
#pragma once

#include <cstdint>

#include "database/rom_table.h"

class CrcIndex {
 public:
  // Takes in records 0 to rom_count - 1. The table must not be reordered or reloaded while
  // the index is in use; have flags may change.
  void Build();

  // Calls visit(index) for every record whose whole crc text equals text, folding letter
  // case, in table order: exactly the records, and the order, of a walk over the table.
  template <typename Visit>
  void ForEachMatch(const char* text, Visit visit) const {
    uint64_t key;
    if (!PackText(text, &key)) {
      // Longer than any packed key: rare enough to walk the table for.
      for (int i = 0; i < count_; ++i)
        if (CrcTextMatches(i, text)) visit(i);
      return;
    }
    for (int at = FirstOf(key); at < packed_count_ && entries_[at].key == key; ++at)
      visit(entries_[at].index);
  }

 private:
  // A crc text of up to 8 bytes, letter case folded, packed into one number; zero bytes pad
  // it, and a text holds none, so two texts are equal exactly when their numbers are.
  static bool PackText(const char* text, uint64_t* key);
  static bool CrcTextMatches(int index, const char* text);
  // The first entry with key, or where it would stand.
  int FirstOf(uint64_t key) const;

  struct Entry {
    uint64_t key;
    int32_t index;
  };
  // Sorted by key, then by record: the records of one key come in table order. Records whose
  // crc is longer than 8 bytes are left out; only the walk above can match them.
  Entry entries_[kMaxRoms];
  int packed_count_ = 0;
  int count_ = 0;
};
