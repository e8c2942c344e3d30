// load.cpp: a database load as the window shows it.
#include "app/load.h"

#include <chrono>
#include <cstdlib>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/window.h"
#include "base/text.h"
#include "database/dat_file.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "naming/display_name.h"

namespace {

const int kLoadControls[] = {
    IDC_RENAME,
    IDC_SCAN,
    IDC_MOVE,
    IDC_PICK_SOURCE,
    IDC_PICK_DEST,
    IDC_SAVE_LISTS,
    IDC_SHOW_ALL,
    IDC_SHOW_HAVE,
    IDC_SHOW_MISS,
    IDC_RESET_HAVES,
    IDC_INCLUDE_OPTIONS,
    IDC_NAMING_OPTIONS,
    IDC_RENAMING_OPTIONS,
};

void DisableForLoad(Window& window) {
  for (int id : kLoadControls) window.EnableControl(id, false);
  SelectShowAll(window);
}

void EnableAfterLoad(Window& window) {
  // SaveLists is left to the list refresh, which enables it once a ROM is owned.
  for (int id : kLoadControls)
    if (id != IDC_SAVE_LISTS) window.EnableControl(id, true);
}

int Fail(Window& window, const char* message) {
  window.ShowMessage(message, "Database Error");
  return 0;
}

// A full dat is thousands of lines; naming each in the title cost more than the rest of the
// load under Wine, and faster than 30 ms a change cannot be read anyway. So the title names
// the first record at once and then, at most every 30 ms, the record just parsed.
constexpr std::chrono::milliseconds kLoadingTitleInterval(30);

struct LoadingTitle {
  Window& window;
  std::chrono::steady_clock::time_point next;
};

void NameLoadedRecord(int index, void* context) {
  LoadingTitle& loading = *static_cast<LoadingTitle*>(context);
  std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
  if (index != 0 && now < loading.next) return;
  char title[1200];
  Format(title, TARNWICK_TITLE_FORMAT " - Loading Dat - %s", kVersion,
         BuildDisplayName(index).text);
  loading.window.SetTitle(title);
  loading.next = now + kLoadingTitleInterval;
}

}  // namespace

int LoadDatabase(const char* path) {
  Window& window = MainWindow();
  DisableForLoad(window);
  ClearRomTable();
  RefreshRomList();
  char* dat = nullptr;
  size_t length = 0;
  switch (ReadDatabaseFile(path, &dat, &length)) {
    case DatRead::kRead:
      break;
    case DatRead::kUnreadable:
      return Fail(window, "Unable To Load Dat File!");
    case DatRead::kTooLarge:
      return Fail(window, "Unable To Allocate Enuff Memory To Decompress Dat!");
  }
  LoadingTitle loading{window, {}};
  DatError error;
  DatParse parsed = ParseDatabase(dat, length, NameLoadedRecord, &loading, &error);
  free(dat);
  if (parsed == DatParse::kNotADat) return Fail(window, "Invalid Dat File!");
  if (parsed == DatParse::kNoMemory)
    return Fail(window, "Unable To Allocate Enuff Memory To Decompress Dat!");
  if (parsed == DatParse::kMalformed) {
    // Where and what, so that the user can find the fault in the dat.
    char message[256];
    Format(message, "Invalid Dat File!\nLine %d: %s", error.line, error.what);
    return Fail(window, message);
  }
  EnableAfterLoad(window);
  SetIdleTitle(window);
  MarkHaves();
  RefreshRomList();
  return 1;
}
