// have_miss_lists.h: the saved have and miss lists, sorted by number or name.
#pragma once

constexpr char kHaveListName[] = "GBA Vellum Have.txt";
constexpr char kMissListName[] = "GBA Vellum Miss.txt";

// Sorts the table in place and writes both lists beside the executable. Returns 1 and shows
// "Saved Logs!" when both were written whole; otherwise shows a "Save Error" and returns 0.
int SaveLists();

// Sorts records 0 to rom_count - 1 by the list key (number with NUM on, else name), in the
// exact order of an exchange sort, moving each record at most once.
void SortRomTable();
