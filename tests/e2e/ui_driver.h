// ui_driver.h: drives a running tarnwick.exe from another process, as a user would: start it
// in a folder of its own, click controls by number, read what its windows show, answer its
// message boxes, work its option dialogs and close it. Every wait is bounded.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h: gtest's port header may pull in a Windows header of its own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/controls.h"

namespace e2e {

constexpr int kShortWaitMs = 15000;  // a window appearing, a click taking effect
constexpr int kScanWaitMs = 60000;   // a whole scan of a generated collection
constexpr char kIdleTitle[] = "Tarnwick GBA v0.3a";

// Sends to another process's window with a bound; false when it did not answer in time.
bool SendBounded(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                 int timeout_ms = kShortWaitMs, LRESULT* result = nullptr);

// The controls of one of the program's dialogs: the main window or an option dialog.
class Dialog {
 public:
  explicit Dialog(HWND window = nullptr) : window_(window) {}
  HWND window() const { return window_; }

  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)); }
  bool Checked(int id) const { return Query(id, BM_GETCHECK) == BST_CHECKED; }
  std::string Text(int id) const;
  // The control whose text is caption, as a user finds it; -1 when there is none.
  int IdOf(const std::string& caption) const;
  // A list box's rows, or with the combo box messages a combo box's entries.
  std::vector<std::string> Items(int id, UINT count = LB_GETCOUNT, UINT length = LB_GETTEXTLEN,
                                 UINT get = LB_GETTEXT) const;
  // A control's answer to a query such as LB_GETCOUNT, CB_GETCURSEL or PBM_GETPOS; -2 when
  // it did not answer.
  int Query(int id, UINT message) const;
  // A button clicked the way the mouse does it: a check box or radio button changes its own
  // state, and the command has been handled when this returns. Not for a button that opens
  // something modal (Program::Press).
  ::testing::AssertionResult Click(int id) const;

 protected:
  HWND window_;
};

// The running program; as a Dialog it is its main window.
class Program : public Dialog {
 public:
  ~Program() { End(); }  // ends a program that a test left running

  // Starts the executable in folder, its current directory, and waits until its main window
  // exists (it may still be loading or showing a message box). A program started before is
  // ended first.
  ::testing::AssertionResult Start(const std::string& exe, const std::string& folder);
  // Waits until the main window is visible, enabled, idle (its title, Load enabled) and shows
  // no message box.
  ::testing::AssertionResult WaitIdle() const;
  bool Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }

  std::string Title() const;
  std::vector<std::string> Rows() const { return Items(IDC_ROM_LIST); }

  // Returns once the UI thread is back in its message loop (or in a modal window's).
  ::testing::AssertionResult Sync() const;
  // Posts a click on a push button whose command opens something modal or starts a scan.
  ::testing::AssertionResult Press(int id) const;

  // Waits for a message box owned by the main window, checks its caption and text, and
  // presses OK.
  ::testing::AssertionResult Answer(const std::string& caption, const std::string& text,
                                    int timeout_ms = kShortWaitMs) const;
  // The open message box as "caption": "text", or "" when there is none.
  std::string ShownBox(HWND* box = nullptr) const;
  // Waits for the file dialog that Load opens and cancels it.
  ::testing::AssertionResult CancelFileDialog() const;

  // Waits for the process to end with exit code 0; a message box on the way fails the wait.
  ::testing::AssertionResult WaitExit() const;
  ::testing::AssertionResult Close() const {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return WaitExit();
  }

  // Polls until done holds. The program ending or, with fail_on_box, a message box appearing
  // ends the wait at once; the failure names what was awaited and what the window showed.
  ::testing::AssertionResult WaitUntil(const std::string& what, const std::function<bool()>& done,
                                       int timeout_ms = kShortWaitMs,
                                       bool fail_on_box = true) const;
  std::string Describe() const;

 private:
  void End();
  HWND FindOwned(bool (*kind)(HWND)) const;

  PROCESS_INFORMATION process_ = {};
};

}  // namespace e2e
