// main_window.cpp: the program's entry, the main window's start-up, commands and closing,
// the path pickers, and the start of the scan worker.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <process.h>
#include <shlobj.h>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/load.h"
#include "app/scan_worker.h"
#include "app/startup.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "ui/win32/option_dialogs.h"
#include "ui/win32/win32_window.h"

namespace {

Win32Window g_window;
HINSTANCE g_instance = nullptr;
// UI thread only: set when a worker starts, cleared when its scan-finished command arrives.
// A command clicked before the worker disabled its button is still queued when the worker runs;
// those IsRefusedDuringScan names do nothing while this is set.
bool g_scan_running = false;

// The worker's argument: the main window it reports to, and the mode it runs. One worker at a
// time, so one of these.
struct ScanStart {
  Window* window;
  ScanMode mode;
} g_scan_start;

void __cdecl ScanThread(void* argument) {
  ScanStart& start = *static_cast<ScanStart*>(argument);
  // Nothing may escape a thread entry; a scan cut short this way still gives the window back.
  try {
    ScanWorker(*start.window, start.mode);
  } catch (...) {
    start.window->SendScanFinished();
  }
}

void StartScan(ScanMode mode) {
  g_scan_start = {&g_window, mode};
  // Default stack size; the handle closes itself when the thread ends. A worker that cannot
  // start changes nothing: no message, the controls as they were.
  if (_beginthread(ScanThread, 0, &g_scan_start) != static_cast<uintptr_t>(-1))
    g_scan_running = true;
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
  char executable[kProgramDirSize];
  // Without the executable's path the files kept beside it go to the current folder.
  if (!ExecutablePath(executable, sizeof executable)) executable[0] = '\0';
  StartUp(g_window, executable);
}

void OnCommand(HWND dialog, int id) {
  if (g_scan_running && IsRefusedDuringScan(id)) return;
  switch (id) {
    case IDC_LOAD: {
      PickPath(dialog, IDC_DATABASE_FIELD,
               "QVX Database (*(QVX).zip)\0*(QVX).zip\0"
               "ROM Databases (*.zip;*.dat;*.xml)\0*.zip;*.dat;*.xml\0",
               false);
      // The load runs also after a cancel: the field's old text is loaded again.
      char path[kPathFieldSize];
      ReadPathField(IDC_DATABASE_FIELD, path);
      LoadDatabase(path);
      break;
    }
    case IDC_RENAME:
      StartScan(ScanMode::kRename);
      break;
    case IDC_SCAN:
      StartScan(ScanMode::kScan);
      break;
    case IDC_MOVE:
      StartScan(ScanMode::kMove);
      break;
    case IDC_PICK_SOURCE:
      PickPath(dialog, IDC_SOURCE_FIELD, nullptr, true);
      break;
    case IDC_PICK_DEST:
      PickPath(dialog, IDC_DEST_FIELD, nullptr, true);
      break;
    case IDC_SHOW_MISS:
    case IDC_SHOW_ALL:
    case IDC_SHOW_HAVE:
      RefreshRomList();
      break;
    case IDC_SAVE_LISTS:
      SaveLists();
      break;
    case CMD_SCAN_FINISHED:
      g_scan_running = false;
      OnScanFinished(g_window);
      break;
    case IDC_RESET_HAVES:
      ResetHaves();
      break;
    case IDC_INCLUDE_OPTIONS:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kInclusions);
      break;
    case IDC_NAMING_OPTIONS:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kNaming);
      break;
    case IDC_RENAMING_OPTIONS:
      OpenOptionDialog(g_instance, dialog, OptionDialog::kRenaming);
      break;
  }
}

INT_PTR MainDialogMessage(HWND dialog, UINT message, WPARAM wparam) {
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
    case kProgressMessage:
      g_window.OnProgressMessage(wparam != 0);
      return TRUE;
    case WM_TIMER:
      if (wparam == kProgressTimer) g_window.OnProgressTimer();
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

// Nothing may escape into the system's code that called the procedure, as from the worker's
// entry: a command whose allocation failed (the INI read, the lists' sort) ends there.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  try {
    return MainDialogMessage(dialog, message, wparam);
  } catch (...) {
    return TRUE;
  }
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
