// main_window.cpp: the program's entry, the main window's start-up, commands and closing,
// the path pickers, and the start of the scan worker.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <process.h>
#include <shlobj.h>

#include "database/dat_loader.h"
#include "database/haves_file.h"
#include "platform/file_system.h"
#include "reports/have_miss_lists.h"
#include "reports/rom_list.h"
#include "scanner/crc32.h"
#include "scanner/scan_worker.h"
#include "settings/ini_file.h"
#include "ui/controls.h"
#include "ui/program_dir.h"
#include "ui/win32/option_dialogs.h"
#include "ui/win32/win32_window.h"

namespace {

Win32Window g_window;
HINSTANCE g_instance = nullptr;
// UI thread only: set when a worker starts, cleared when its scan-finished command arrives.
// A command clicked before the worker disabled its button is still queued when the worker
// runs; those that would start a second scan, or change the table, the settings or the haves
// under it, are refused while this is set.
bool g_scan_running = false;

bool RefusedDuringScan(int id) {
  switch (id) {
    case ctl::kLoad:
    case ctl::kRename:
    case ctl::kScan:
    case ctl::kMove:
    case ctl::kSaveLists:
    case ctl::kResetHaves:
    case ctl::kIncludeOptions:
    case ctl::kNamingOptions:
    case ctl::kRenamingOptions:
      return g_scan_running;
  }
  return false;
}

// The worker's argument is the main window it reports to.
void __cdecl ScanThread(void* argument) {
  Window& window = *static_cast<Window*>(argument);
  // Nothing may escape a thread entry; a scan cut short this way still gives the window back.
  try {
    ScanWorker(window);
  } catch (...) {
    window.SendScanFinished();
  }
}

void StartScan(int rename_flag, int move_flag) {
  g_rename_flag = rename_flag;
  g_move_flag = move_flag;
  // Default stack size; the handle closes itself when the thread ends. A worker that cannot
  // start changes nothing: no message, the controls as they were.
  Window* window = &g_window;
  if (_beginthread(ScanThread, 0, window) != static_cast<uintptr_t>(-1)) g_scan_running = true;
}

// Shows a picker owned by window; a confirmed choice replaces the field's text. A cancel, or
// a choice that is not a file-system path, leaves the field as it was.
void PickPath(HWND window, int field, const char* filter, bool folder) {
  char path[MAX_PATH] = "";
  if (folder) {
    BROWSEINFOA browse = {};
    browse.hwndOwner = window;
    browse.pszDisplayName = path;
    browse.lpszTitle = "Choose Rom Path";
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (item == nullptr) return;
    BOOL is_path = SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    if (!is_path || path[0] == '\0') return;
  } else {
    OPENFILENAMEA open = {};
    open.lStructSize = sizeof open;
    open.hwndOwner = window;
    open.lpstrFilter = filter;
    open.lpstrFile = path;
    open.nMaxFile = sizeof path;
    open.Flags = OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&open) || path[0] == '\0') return;
  }
  SetDlgItemTextA(window, field, path);
}

void StartUp(HWND dialog) {
  g_window.Attach(dialog);
  SetMainWindow(&g_window);
  SetDialogClassLook(dialog);
  g_window.SetRadio(ctl::kShowAll, true);
  g_window.SetRadio(ctl::kShowHave, false);
  g_window.SetRadio(ctl::kShowMiss, false);
  SetIdleTitle();
  char executable[kProgramDirSize];
  // Without the executable's path the files kept beside it go to the current folder.
  if (!ExecutablePath(executable, sizeof executable)) executable[0] = '\0';
  SetProgramDirectory(executable);
  BuildCrcTable();
  LoadIni();
}

void OnCommand(HWND dialog, int id) {
  if (RefusedDuringScan(id)) return;
  switch (id) {
    case ctl::kLoad: {
      PickPath(dialog, ctl::kDatabaseField, "QVX Database (*(QVX).zip)\0*(QVX).zip\0", false);
      // The load runs also after a cancel: the field's old text is loaded again.
      char path[kPathFieldSize];
      ReadPathField(ctl::kDatabaseField, path);
      LoadDatabase(path);
      break;
    }
    case ctl::kRename:
      StartScan(1, 0);
      break;
    case ctl::kScan:
      StartScan(0, 0);
      break;
    case ctl::kMove:
      StartScan(0, 1);
      break;
    case ctl::kPickSource:
      PickPath(dialog, ctl::kSourceField, nullptr, true);
      break;
    case ctl::kPickDest:
      PickPath(dialog, ctl::kDestField, nullptr, true);
      break;
    case ctl::kShowMiss:
    case ctl::kShowAll:
    case ctl::kShowHave:
      RefreshRomList();
      break;
    case ctl::kSaveLists:
      SaveLists();
      break;
    case ctl::kScanFinished:
      g_scan_running = false;
      OnScanFinished();
      break;
    case ctl::kResetHaves:
      ResetHaves();
      break;
    case ctl::kIncludeOptions:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kInclusions);
      break;
    case ctl::kNamingOptions:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kNaming);
      break;
    case ctl::kRenamingOptions:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kRenaming);
      break;
  }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      StartUp(dialog);
      return TRUE;
    case WM_COMMAND:
      // By number alone; Enter and Escape arrive as 1 and 2 and do nothing.
      OnCommand(dialog, LOWORD(wparam));
      return TRUE;
    case kRunTaskMessage:
      // The message only says "run what is pending": any process may send it, and what it
      // carries is never run.
      g_window.RunPendingTask();
      return TRUE;
    case WM_CLOSE:
      // While an option dialog is open the main window is disabled and must stay open: the
      // dialog's settings are read back into it when the dialog closes.
      if (IsWindowEnabled(dialog)) EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      SaveIni();
      PostQuitMessage(0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  g_instance = instance;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The folder browser is a shell object.
  CoInitialize(nullptr);
  // A window that could not be made posts no quit message: end here instead of waiting.
  if (DialogBoxParamA(instance, "qvx", nullptr, MainDialogProc, 0) == -1) return 1;
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
