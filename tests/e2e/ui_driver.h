// ui_driver.h: drives a running tarnwick.exe from another process, as a user would: start it
// in a folder of its own, click controls by number, read what the window shows, answer its
// message boxes, work its option dialogs and close it.
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

namespace e2e {

// Every wait is a poll with a bound; these are the bounds.
constexpr int kShortWaitMs = 15000;  // a window appearing, a click taking effect
constexpr int kScanWaitMs = 60000;   // a whole scan of a generated collection

// A fresh folder under the system's temporary folder, removed with everything in it at the
// end. Paths are in the system's format, joined with "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// The file names in a folder, sorted, without "." and ".."; folders end in "\".
std::vector<std::string> ListFolder(const std::string& folder);

// A message box of the program, as it was found.
struct ShownBox {
  HWND window = nullptr;
  std::string caption, text;
};

// One option dialog while it is open.
class OptionDialog {
 public:
  explicit OptionDialog(HWND window = nullptr) : window_(window) {}
  HWND window() const { return window_; }

  bool Checked(int id) const;
  bool Enabled(int id) const;
  std::string Text(int id) const;
  // Clicks a check box or radio button the way the mouse does, so it changes its own state
  // and tells the dialog.
  ::testing::AssertionResult Click(int id);
  // The combo box: its entries, its selected position (-1 for none), and a choice made as
  // the drop-down list makes it (the selection, then the notification).
  std::vector<std::string> ComboEntries(int id) const;
  int ComboSelection(int id) const;
  ::testing::AssertionResult ChooseComboEntry(int id, int position);

 private:
  HWND window_;
};

class Program {
 public:
  Program() = default;
  ~Program();  // ends a program that a test left running
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts the executable with the folder as its current directory and waits until its main
  // window exists (it may still be loading a database or showing a message box). The
  // program's standard output and error go to the file output_path. A program started
  // before by this driver is ended first.
  ::testing::AssertionResult Start(const std::string& exe, const std::string& folder,
                                   const std::string& output_path);
  // Waits until the main window is visible, idle (title "Tarnwick GBA v0.3a", Load enabled)
  // and shows no message box.
  ::testing::AssertionResult WaitIdle(int timeout_ms = kShortWaitMs);
  HWND main() const { return main_; }
  bool Running() const;

  // Reading the main window.
  std::string Title() const;
  std::string Text(int id) const;
  bool Enabled(int id) const;
  bool Checked(int id) const;
  std::vector<std::string> Rows() const;
  // For long lists, where reading every row across processes takes seconds.
  int RowCount() const;
  std::string Row(int index) const;
  int Progress() const;
  bool MainEnabled() const { return IsWindowEnabled(main_) != 0; }

  // Returns once the UI thread is back in a message loop: work it was doing when this was
  // called (a load, a list refresh) is over, or waits in a modal window.
  ::testing::AssertionResult Sync() const;

  // A push button whose command finishes before the click returns (no modal window).
  ::testing::AssertionResult Click(int id);
  // A push button whose command opens something modal (a dialog, a message box) or starts a
  // scan: the click is posted, and the caller waits for what follows.
  ::testing::AssertionResult Press(int id);
  // A show-filter radio button, clicked as the mouse does it.
  ::testing::AssertionResult ClickRadio(int id);

  // Waits for a message box owned by the main window with this caption, reads its text and
  // presses OK. Any other box found meanwhile fails the wait, naming it.
  ::testing::AssertionResult Answer(const std::string& caption, std::string* text,
                                    int timeout_ms = kShortWaitMs);
  // Answer, and check the text too.
  ::testing::AssertionResult Answer(const std::string& caption, const char* expected_text,
                                    int timeout_ms = kShortWaitMs);
  // A message box owned by the main window, if one is open now.
  bool FindMessageBox(ShownBox* box) const;
  ::testing::AssertionResult NoMessageBox() const;

  // Waits for the file dialog that Load opens, and cancels it.
  ::testing::AssertionResult CancelFileDialog(int timeout_ms = kShortWaitMs);

  // Presses an option button and waits for the dialog with this caption.
  ::testing::AssertionResult OpenOptions(int button, const char* caption, OptionDialog* dialog);
  // Closes an option dialog through its close box and waits until the main window is usable.
  ::testing::AssertionResult CloseOptions(OptionDialog* dialog);

  // Closes the main window and waits for the process to end.
  ::testing::AssertionResult Close(DWORD* exit_code, int timeout_ms = kShortWaitMs);
  // The two halves of Close, for a close that shows a message box on its way.
  void PostClose() const { PostMessageA(main_, WM_CLOSE, 0, 0); }
  ::testing::AssertionResult WaitExit(DWORD* exit_code, int timeout_ms = kShortWaitMs);

  // Polls the condition every few milliseconds until it holds or the time is up; a program
  // that has exited, or a message box, ends the wait at once. The failure names what was
  // awaited and what the window showed.
  ::testing::AssertionResult WaitUntil(const std::string& what, const std::function<bool()>& done,
                                       int timeout_ms = kShortWaitMs) const;
  // What the window shows now, for failure messages.
  std::string Describe() const;

 private:
  void Release();
  HWND FindMainWindow() const;
  HWND FindOwnedDialog(const std::function<bool(HWND)>& match) const;
  HWND FindTopDialog(const std::string& caption) const;
  ::testing::AssertionResult Poll(const std::string& what, const std::function<bool()>& done,
                                  int timeout_ms, bool fail_on_box) const;

  PROCESS_INFORMATION process_ = {};
  HWND main_ = nullptr;
};

// Sends a message to another process's window with a bound; false when it did not answer.
bool SendBounded(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result,
                 int timeout_ms = kShortWaitMs);

}  // namespace e2e
