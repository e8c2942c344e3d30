// window.h: the main window as the commands see it, a handful of operations by control number.
// The commands are the only code that speaks to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "base/text.h"
#include "base/version.h"

#define TARNWICK_TITLE_FORMAT "Tarnwick GBA v%s"

// Implemented by the Win32 front end and by the recording fake of the tests. Both the UI
// thread and the scan worker call it, so implementations must be safe to call from either.
class Window {
 public:
  virtual ~Window() = default;

  virtual void EnableControl(int id, bool enabled) = 0;
  virtual void SetControlText(int id, const char* text) = 0;
  // Copies at most size - 1 characters of the control's text, always terminated;
  // returns the number copied.
  virtual int GetControlText(int id, char* out, int size) = 0;
  virtual void SetTitle(const char* title) = 0;
  virtual void SetRadio(int id, bool on) = 0;
  virtual bool IsRadioOn(int id) = 0;
  // A list refresh: ClearList, then the rows, then EndListRows, which shows them. The rows
  // are not drawn one by one.
  virtual void ClearList() = 0;
  virtual void AddListRow(const char* text) = 0;
  virtual void EndListRows() = 0;
  // The list shown from its first row with nothing selected, as a refresh leaves it.
  virtual void ScrollListToTop() = 0;
  virtual void SetProgress(int position) = 0;
  // Modal, warning icon, OK button, owned by the main window; returns when dismissed.
  virtual void ShowMessage(const char* text, const char* caption) = 0;
  // Hands the scan-finished command to the UI thread and waits until it was handled.
  virtual void SendScanFinished() = 0;
  // Runs task(context) on the UI thread and waits for it; run at once when called there. The
  // scan refreshes the list this way, so two refreshes never interleave their rows.
  virtual void RunOnUiThread(void (*task)(void* context), void* context) = 0;

  // A hash of the rows the list was last filled with, 0 before the first fill: RefreshAfterScan
  // leaves out a refill that would give the same rows. Atomic: a test's window may be refreshed
  // from two threads.
  std::atomic<uint64_t> shown_rows{0};
};

// The one main window of the process, process-wide: set once at start-up (or by a test) and
// valid until the process ends; every message box is owned by it.
void SetMainWindow(Window* window);
Window& MainWindow();

// A path field's text (kPathFieldSize, base/text.h).
template <size_t N>
void ReadPathField(int id, char (&out)[N]) {
  static_assert(N >= kPathFieldSize, "a path field needs 260 bytes");
  MainWindow().GetControlText(id, out, kPathFieldSize);
}

// Turns Show All on and the other two show-filter buttons off, as start-up and a load do.
void SelectShowAll(Window& window);

// Sets the idle title "Tarnwick GBA v0.3a".
void SetIdleTitle(Window& window);
