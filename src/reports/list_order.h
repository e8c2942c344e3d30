// list_order.h: the order of the saved lists, in which SaveLists leaves the table.
#pragma once

// Sorts records 0 to rom_count - 1 by the list key (number with NUM on, else name), folding
// A to Z, in the exact order of an exchange sort (equal keys included), moving each record
// at most once.
void SortRomTable();
