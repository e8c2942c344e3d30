// scan_worker.cpp: a scan's controls, title, progress and messages around ScanFolders.
#include "app/scan_worker.h"

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/window.h"
#include "base/text.h"
#include "scanner/scan_folders.h"

namespace {

// Disabled for the worker's whole life, in this order; the show filter stays usable.
constexpr int kScanControls[] = {IDC_SAVE_LISTS,
                                 IDC_RESET_HAVES,
                                 IDC_SCAN,
                                 IDC_MOVE,
                                 IDC_RENAME,
                                 IDC_NAMING_OPTIONS,
                                 IDC_RENAMING_OPTIONS,
                                 IDC_INCLUDE_OPTIONS,
                                 IDC_LOAD,
                                 IDC_PICK_SOURCE,
                                 IDC_PICK_DEST};

// The same eleven, enabled again by the scan-finished command in the window's own order.
constexpr int kScanFinishedControls[] = {IDC_SAVE_LISTS,
                                         IDC_RESET_HAVES,
                                         IDC_SCAN,
                                         IDC_MOVE,
                                         IDC_RENAME,
                                         IDC_LOAD,
                                         IDC_PICK_SOURCE,
                                         IDC_PICK_DEST,
                                         IDC_INCLUDE_OPTIONS,
                                         IDC_RENAMING_OPTIONS,
                                         IDC_NAMING_OPTIONS};

void ShowProgress(int position, void* window) {
  static_cast<Window*>(window)->SetProgress(position);
}

const char* ErrorMessage(ScanOutcome outcome) {
  switch (outcome) {
    case ScanOutcome::kDone:
      break;
    case ScanOutcome::kNoSource:
      return "No Source Path Selected!";
    case ScanOutcome::kNoDestination:
      return "No Destination Path Selected!";
    case ScanOutcome::kDestinationNotFound:
      return "Destination Path Not Found!";
    case ScanOutcome::kUnreadableFolder:
      return "Unable To Read Files In Dir!";
  }
  return nullptr;
}

// One run: its window and the worker's own copies of the two paths.
struct ScanRun {
  Window& window;
  char source[kPathFieldSize], dest[kPathFieldSize];
};

// The start of a scan, on the UI thread: one trip there for the controls, the paths and the
// title instead of one per call, each of which costs a millisecond or more under Wine.
void StartOnUiThread(void* context) {
  ScanRun& run = *static_cast<ScanRun*>(context);
  for (int id : kScanControls) run.window.EnableControl(id, false);
  run.window.GetControlText(IDC_SOURCE_FIELD, run.source, kPathFieldSize);
  run.window.GetControlText(IDC_DEST_FIELD, run.dest, kPathFieldSize);
  char title[64];
  Format(title, TARNWICK_TITLE_FORMAT " - Scanning Roms", kVersion);
  run.window.SetTitle(title);
}

void RefreshOnUiThread(void* window) { RefreshAfterScan(*static_cast<Window*>(window)); }

}  // namespace

void ScanWorker(Window& window, ScanMode mode) {
  ScanRun run{window, "", ""};
  window.RunOnUiThread(StartOnUiThread, &run);
  ScanOutcome outcome = ScanFolders(mode, run.source, run.dest, ShowProgress, &window);
  if (outcome == ScanOutcome::kDone) {
    // On the UI thread, so it never mixes its rows with a refresh the show filter started.
    window.RunOnUiThread(RefreshOnUiThread, &window);
    window.ShowMessage("Done!", "Scan");
  } else {
    window.ShowMessage(ErrorMessage(outcome), "Scan Error");
  }
  window.SendScanFinished();
}

void OnScanFinished(Window& window) {
  for (int id : kScanFinishedControls) window.EnableControl(id, true);
  SetIdleTitle(window);
}

bool IsRefusedDuringScan(int command) {
  switch (command) {
    case IDC_LOAD:
    case IDC_RENAME:
    case IDC_SCAN:
    case IDC_MOVE:
    case IDC_SAVE_LISTS:
    case IDC_RESET_HAVES:
    case IDC_INCLUDE_OPTIONS:
    case IDC_NAMING_OPTIONS:
    case IDC_RENAMING_OPTIONS:
      return true;
  }
  return false;
}
