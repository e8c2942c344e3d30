// win32_window.h: the core's view of the main window, carried out on the real dialog.
#pragma once

#include <windows.h>

#include <atomic>

#include "app/progress_throttle.h"
#include "app/window.h"

// Sent by the scan worker to the main window: run the pending task on the UI thread. It
// carries nothing; the task and its context are the ones this process recorded (RunOnUiThread).
constexpr UINT kRunTaskMessage = WM_APP + 1;
// Sent or posted to the main window: draw the newest progress position if it is due (wparam 0,
// the worker's wake) or at once (wparam 1). It carries no position, so draws never go stale.
constexpr UINT kProgressMessage = WM_APP + 2;
// The main window's timer that draws a position held back (ProgressThrottle).
constexpr UINT_PTR kProgressTimer = 1;

// A typical row's share of the text storage the list reserves for a full table.
constexpr int kListRowBytes = 48;

// Every operation works from either thread: Win32 hands a call on a window of the UI thread
// over to that thread and waits for it.
class Win32Window : public Window {
 public:
  // Records the dialog and the thread that owns it; called first in its initialisation.
  void Attach(HWND dialog);

  void EnableControl(int id, bool enabled) override;
  void SetControlText(int id, const char* text) override;
  int GetControlText(int id, char* out, int size) override;
  void SetTitle(const char* title) override;
  void SetRadio(int id, bool on) override;
  bool IsRadioOn(int id) override;
  void ClearList() override;
  void AddListRow(const char* text) override;
  void EndListRows() override;
  void ScrollListToTop() override;
  void SetProgress(int position) override;
  void ShowMessage(const char* text, const char* caption) override;
  void SendScanFinished() override;
  void RunOnUiThread(void (*task)(void*), void* context) override;
  // Runs the task RunOnUiThread recorded, if one waits; the UI thread's handling of
  // kRunTaskMessage. Anything else that sends the message runs nothing of its choosing.
  void RunPendingTask();
  // The UI thread's handling of kProgressMessage and of kProgressTimer.
  void OnProgressMessage(bool at_once);
  void OnProgressTimer();

 private:
  void DrawProgress(int position);
  // From the worker: the bar catches up before what the worker does next shows.
  void CatchUpProgress();

  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
  DWORD ui_thread_ = 0;
  ProgressThrottle progress_;
  // Set by the worker just before it sends kRunTaskMessage, taken by the UI thread; the context
  // is written before the task, which publishes it.
  std::atomic<void (*)(void*)> pending_task_{nullptr};
  void* pending_context_ = nullptr;
};
