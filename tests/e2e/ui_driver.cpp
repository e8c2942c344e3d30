// ui_driver.cpp: finding the program's windows by process, reading and clicking them with
// bounded sends and polls, so a hung or crashed program fails a test instead of hanging it.
#include "e2e/ui_driver.h"

#include <commctrl.h>

namespace e2e {
namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

// A message box's text is the static 0xFFFF; the file dialogs have a file name box instead.
constexpr int kBoxText = 0xFFFF;
constexpr int kFileNameCombo = 1148;

// Top-level windows keep their caption outside the process; controls need WM_GETTEXT.
std::string CaptionOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ControlText(HWND control) {
  char text[1024] = "";
  if (!control) return "<no such control>";
  if (!SendBounded(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)))
    return "<no answer>";
  return text;
}

// A top-level dialog of the process that passes match.
HWND FindDialog(DWORD process, const std::function<bool(HWND)>& match) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && match(window)) return window;
  }
  return nullptr;
}

bool IsFileDialog(HWND window) { return GetDlgItem(window, kFileNameCombo) != nullptr; }

bool IsMessageBox(HWND window) { return GetDlgItem(window, kBoxText) && !IsFileDialog(window); }

// Wine answers LB_GETTEXT across processes in the A form with UTF-16 bytes: ask in the W form.
// A combo box's rows the same way, with its own messages.
std::string RowText(HWND list, int row, UINT get_length, UINT get) {
  wchar_t wide[1024] = L"";
  char text[2048] = "";
  LRESULT length = 0;
  if (!SendBounded(list, get_length, row, 0, kShortWaitMs, &length) || length < 0 ||
      length >= 1024 ||
      !SendMessageTimeoutW(list, get, row, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                           kShortWaitMs, nullptr))
    return "<no answer or too long>";
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

}  // namespace

bool SendBounded(HWND window, UINT message, WPARAM wparam, LPARAM lparam, int timeout_ms,
                 LRESULT* result) {
  DWORD_PTR answer = 0;
  bool answered =
      SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, timeout_ms, &answer) != 0;
  if (answered && result) *result = static_cast<LRESULT>(answer);
  return answered;
}

std::string Dialog::Text(int id) const { return ControlText(GetDlgItem(window_, id)); }

int Dialog::IdOf(const std::string& caption) const {
  // A control's text is kept with its window, so the search needs no message to the program.
  HWND control = FindWindowExA(window_, nullptr, nullptr, caption.c_str());
  return control ? GetDlgCtrlID(control) : -1;
}

std::vector<std::string> Dialog::Items(int id, UINT count, UINT length, UINT get) const {
  std::vector<std::string> items;
  for (int i = 0, n = Query(id, count); i < n; ++i)
    items.push_back(RowText(GetDlgItem(window_, id), i, length, get));
  return items;
}

int Dialog::Query(int id, UINT message) const {
  LRESULT answer = -2;
  SendBounded(GetDlgItem(window_, id), message, 0, 0, kShortWaitMs, &answer);
  return static_cast<int>(answer);
}

AssertionResult Dialog::Click(int id) const {
  if (!Enabled(id) || !IsWindowEnabled(window_))
    return AssertionFailure() << "control " << id << " is missing or disabled";
  // BM_CLICK runs the button's own mouse handling: it checks itself, then notifies.
  if (!SendBounded(GetDlgItem(window_, id), BM_CLICK, 0, 0))
    return AssertionFailure() << "control " << id << " did not answer a click";
  return AssertionSuccess();
}

void Program::End() {
  if (!process_.hProcess) return;
  if (Running() && TerminateProcess(process_.hProcess, 1))
    WaitForSingleObject(process_.hProcess, kShortWaitMs);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
}

AssertionResult Program::Start(const std::string& exe, const std::string& folder) {
  End();
  // No standard handles: the program's own diagnostics stay out of this process's output.
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  std::string command = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process_))
    return AssertionFailure() << "cannot start " << exe << " (error " << GetLastError() << ")";
  auto is_main = [](HWND window) { return GetDlgItem(window, IDC_ROM_LIST) != nullptr; };
  return WaitUntil(
      "the main window", [&] { return (window_ = FindDialog(process_.dwProcessId, is_main)); },
      kShortWaitMs, false);
}

AssertionResult Program::WaitIdle() const {
  return WaitUntil("the idle main window", [&] {
    return IsWindowVisible(window_) && IsWindowEnabled(window_) && Title() == kIdleTitle &&
           Enabled(IDC_LOAD);
  });
}

std::string Program::Title() const { return CaptionOf(window_); }

AssertionResult Program::Sync() const {
  // A sent message is handled only when the UI thread next looks at its queue.
  return SendBounded(window_, WM_NULL, 0, 0) ? AssertionSuccess()
                                             : AssertionFailure() << "no answer; " << Describe();
}

AssertionResult Program::Press(int id) const {
  if (!Enabled(id) || !IsWindowEnabled(window_))
    return AssertionFailure() << "control " << id << " is missing or disabled; " << Describe();
  PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
  return AssertionSuccess();
}

HWND Program::FindOwned(bool (*kind)(HWND)) const {
  return FindDialog(process_.dwProcessId, [&](HWND window) {
    return GetWindow(window, GW_OWNER) == window_ && IsWindowVisible(window) && kind(window);
  });
}

std::string Program::ShownBox(HWND* box) const {
  HWND window = FindOwned(IsMessageBox);
  if (box) *box = window;
  if (!window) return "";
  return "\"" + CaptionOf(window) + "\": \"" + ControlText(GetDlgItem(window, kBoxText)) + "\"";
}

AssertionResult Program::Answer(const std::string& caption, const std::string& text,
                                int timeout_ms) const {
  HWND box = nullptr;
  const std::string expected = "\"" + caption + "\": \"" + text + "\"";
  // A box's text may not be there yet when it first shows: another box only fails at the end.
  AssertionResult found = WaitUntil(
      "the message box " + expected, [&] { return ShownBox(&box) == expected; }, timeout_ms, false);
  if (!found) return found;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return WaitUntil(
      "the box to close", [&] { return !IsWindowVisible(box); }, 5000, false);
}

AssertionResult Program::CancelFileDialog() const {
  HWND dialog = nullptr;
  AssertionResult found = WaitUntil("the open-file dialog",
                                    [&] { return (dialog = FindOwned(IsFileDialog)) != nullptr; });
  if (found) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return found ? WaitUntil("the file dialog to close", [&] { return !IsWindow(dialog); }) : found;
}

AssertionResult Program::WaitExit() const {
  DWORD code = 1;
  return WaitUntil("the program to end with code 0", [&] {
    return !Running() && GetExitCodeProcess(process_.hProcess, &code) && code == 0;
  });
}

AssertionResult Program::WaitUntil(const std::string& what, const std::function<bool()>& done,
                                   int timeout_ms, bool fail_on_box) const {
  for (DWORD start = GetTickCount();; Sleep(5)) {
    // Whether it still runs is asked first: an end that done() saw is no failure.
    bool running = Running();
    if (done()) return AssertionSuccess();
    bool box = running && fail_on_box && !ShownBox().empty();
    if (!running || box || static_cast<int>(GetTickCount() - start) > timeout_ms)
      return AssertionFailure() << "waited " << GetTickCount() - start << " ms for " << what << "; "
                                << Describe();
  }
}

std::string Program::Describe() const {
  DWORD code = 0;
  if (!Running() && GetExitCodeProcess(process_.hProcess, &code))
    return "the program has ended with code " + std::to_string(code);
  return "title \"" + Title() + "\", " + (IsWindowEnabled(window_) ? "enabled" : "disabled") +
         ", message box " + ShownBox();
}

}  // namespace e2e
