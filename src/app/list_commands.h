// list_commands.h: the show filter, SaveLists and Reset Haves as the window shows them.
#pragma once

class Window;

// Rebuilds the ROM list and the counters from the table under the show filter the window's
// radio buttons show; enables SaveLists once a ROM is owned. Without a window, the main one.
void RefreshRomList();
void RefreshRomList(Window& window);

// The refresh after a scan: as RefreshRomList, except that rows equal to those the list shows
// already are not added again; the counters are always set, and the list is shown from the top.
void RefreshAfterScan(Window& window);

// Sorts the table and writes the have and miss lists. Returns 1 and shows "Saved Logs!" when
// both were written whole; otherwise shows what failed, captioned "Save Error", and returns 0.
int SaveLists();

// Forgets all ownership (the have flags and the haves file), then refreshes the list.
void ResetHaves();
