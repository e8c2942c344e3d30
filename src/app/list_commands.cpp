// list_commands.cpp: the ROM list, its counters, and the commands that change what it shows.
#include "app/list_commands.h"

#include "app/controls.h"
#include "app/window.h"
#include "base/text.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "naming/display_name.h"
#include "reports/have_miss_lists.h"
#include "reports/rom_rows.h"

void RefreshRomList() {
  Window& window = MainWindow();
  window.ClearList();
  bool show_miss = window.IsRadioOn(IDC_SHOW_MISS);
  bool show_all = window.IsRadioOn(IDC_SHOW_ALL);
  for (int i = 0; i < rom_count; ++i)
    if (IsRomListed(i, show_all, show_miss)) window.AddListRow(BuildDisplayName(i).text);
  window.EndListRows();
  RomCounts counts = CountRoms();
  char text[32];
  Format(text, "%i", static_cast<int>(counts.have));
  window.SetControlText(IDC_HAVE_COUNTER, text);
  Format(text, "%i", static_cast<int>(counts.miss));
  window.SetControlText(IDC_MISS_COUNTER, text);
  Format(text, "%i (%i)", static_cast<int>(counts.known), static_cast<int>(rom_count));
  window.SetControlText(IDC_KNOWN_COUNTER, text);
  if (counts.have != 0) window.EnableControl(IDC_SAVE_LISTS, true);
}

int SaveLists() {
  const char* failure = nullptr;
  switch (WriteHaveMissLists()) {
    case ListsWritten::kWhole:
      MainWindow().ShowMessage("Saved Logs!", "Save");
      return 1;
    case ListsWritten::kHaveNotOpened:
      failure = "Unable To Open Have List!";
      break;
    case ListsWritten::kMissNotOpened:
      failure = "Unable To Open Miss List!";
      break;
    case ListsWritten::kHaveCut:
      failure = "Unable To Write Have List!";
      break;
    case ListsWritten::kMissCut:
      failure = "Unable To Write Miss List!";
      break;
  }
  MainWindow().ShowMessage(failure, "Save Error");
  return 0;
}

void ResetHaves() {
  ForgetHaves();
  RefreshRomList();
}
