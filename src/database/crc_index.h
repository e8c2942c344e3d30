// crc_index.h: which records carry a given crc text, for the scan's matching and for marking
// the haves. Each operation builds its own index over the table as it stands.
#pragma once

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
    for (int i = 0; i < count_; ++i)
      if (CrcTextMatches(i, text)) visit(i);
  }

 private:
  static bool CrcTextMatches(int index, const char* text);
  int count_ = 0;
};
