// have_miss_lists.h: the saved have and miss lists, sorted by number or name.
#pragma once

constexpr char kHaveListName[] = "GBA Vellum Have.txt";
constexpr char kMissListName[] = "GBA Vellum Miss.txt";

enum class ListsWritten {
  kWhole,
  kHaveNotOpened,  // nothing was written
  kMissNotOpened,  // the have list was opened and is left empty
  kHaveCut,        // a write or close failed: the list is not whole
  kMissCut,
};

// Counts, sorts the table in place (SortRomTable) and writes both lists beside the executable.
ListsWritten WriteHaveMissLists();
