// win32_window.cpp: the window operations of the core, by control number, on the real dialog.
#include "ui/win32/win32_window.h"

#include <commctrl.h>

#include "database/rom_table.h"
#include "app/controls.h"

void Win32Window::Attach(HWND dialog) {
  dialog_ = dialog;
  list_ = GetDlgItem(dialog, IDC_ROM_LIST);
  ui_thread_ = GetCurrentThreadId();
}

void Win32Window::EnableControl(int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog_, id), enabled ? TRUE : FALSE);
}

void Win32Window::SetControlText(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }

int Win32Window::GetControlText(int id, char* out, int size) {
  if (size <= 0) return 0;
  out[0] = '\0';
  UINT copied = GetDlgItemTextA(dialog_, id, out, size);
  out[size - 1] = '\0';
  return static_cast<int>(copied);
}

void Win32Window::SetTitle(const char* title) { SetWindowTextA(dialog_, title); }

void Win32Window::SetRadio(int id, bool on) {
  CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Window::IsRadioOn(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

// The list stays undrawn from ClearList to EndListRows: a full table is thousands of rows,
// and drawing and scrolling after each one would make every refresh slow. Room for a full
// table is taken at once rather than grown row by row; a list box that cannot reserve it
// grows as before.
void Win32Window::ClearList() {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  SendMessageA(list_, LB_INITSTORAGE, kMaxRoms, kMaxRoms * kListRowBytes);
}

void Win32Window::AddListRow(const char* text) {
  SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void Win32Window::EndListRows() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void Win32Window::ScrollListToTop() {
  SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(list_, LB_SETTOPINDEX, 0, 0);
}

void Win32Window::SetProgress(int position) {
  // Posted: the worker never waits for the bar.
  if (progress_.Report(position, GetTickCount())) PostMessageA(dialog_, kProgressMessage, 0, 0);
}

void Win32Window::OnProgressMessage(bool at_once) {
  DWORD now = GetTickCount();
  if (at_once) {
    DrawProgress(progress_.Flush(now));
    return;
  }
  SetTimer(dialog_, kProgressTimer, kProgressIntervalMs, nullptr);
  DrawProgress(progress_.Wake(now));
}

void Win32Window::OnProgressTimer() {
  bool keep_timer = false;
  DrawProgress(progress_.Tick(GetTickCount(), &keep_timer));
  if (!keep_timer) KillTimer(dialog_, kProgressTimer);
}

void Win32Window::DrawProgress(int position) {
  if (position >= 0) SendDlgItemMessageA(dialog_, IDC_PROGRESS, PBM_SETPOS, position, 0);
}

void Win32Window::CatchUpProgress() {
  if (GetCurrentThreadId() != ui_thread_) SendMessageA(dialog_, kProgressMessage, 1, 0);
}

void Win32Window::ShowMessage(const char* text, const char* caption) {
  CatchUpProgress();
  MessageBoxA(dialog_, text, caption, MB_OK | MB_ICONWARNING);
}

void Win32Window::SendScanFinished() {
  CatchUpProgress();
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(CMD_SCAN_FINISHED, 0), 0);
}

void Win32Window::RunOnUiThread(void (*task)(void*), void* context) {
  if (GetCurrentThreadId() == ui_thread_) {
    task(context);
    return;
  }
  // One worker at a time, and it waits here until the task has run, so one slot is enough.
  // The window may be gone already while the process closes; then there is nothing to do.
  pending_context_ = context;
  pending_task_.store(task);
  SendMessageA(dialog_, kRunTaskMessage, 0, 0);
  pending_task_.store(nullptr);
}

void Win32Window::RunPendingTask() {
  void (*task)(void*) = pending_task_.exchange(nullptr);
  if (task == nullptr) return;
  DrawProgress(progress_.Flush(GetTickCount()));
  task(pending_context_);
}
