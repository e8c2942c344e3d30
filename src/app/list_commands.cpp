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

namespace {

// FNV-1a over the rows, each with its line end, so that rows never run together.
uint64_t HashRow(uint64_t hash, const char* row) {
  for (const char* c = row;; ++c) {
    hash = (hash ^ static_cast<unsigned char>(*c ? *c : '\n')) * 1099511628211ull;
    if (*c == '\0') return hash;
  }
}
constexpr uint64_t kNoRows = 14695981039346656037ull;

// Calls row with each row's text, in table order, under the window's show filter.
template <typename Row>
void ForEachRow(Window& window, Row row) {
  bool show_miss = window.IsRadioOn(IDC_SHOW_MISS);
  bool show_all = window.IsRadioOn(IDC_SHOW_ALL);
  for (int i = 0; i < rom_count; ++i)
    if (IsRomListed(i, show_all, show_miss)) row(BuildDisplayName(i).text);
}

void ShowCounters(Window& window) {
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

}  // namespace

void RefreshRomList() { RefreshRomList(MainWindow()); }

void RefreshRomList(Window& window) {
  window.ClearList();
  uint64_t hash = kNoRows;
  ForEachRow(window, [&](const char* row) {
    window.AddListRow(row);
    hash = HashRow(hash, row);
  });
  window.EndListRows();
  window.shown_rows = hash;
  ShowCounters(window);
}

void RefreshAfterScan(Window& window) {
  uint64_t hash = kNoRows;
  ForEachRow(window, [&](const char* row) { hash = HashRow(hash, row); });
  // Refilling a sorted list box of thousands of rows is most of what the end of a scan waits
  // for under Wine, and under Show All a scan seldom changes the rows.
  if (hash != window.shown_rows) {
    RefreshRomList(window);
    return;
  }
  window.ScrollListToTop();
  ShowCounters(window);
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
