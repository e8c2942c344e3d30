// ui_driver.cpp: finding the program's windows by process, and reading and clicking them with
// bounded sends and polls, so a hung or crashed program fails a test instead of hanging it.
#include "app/controls.h"
#include "e2e/ui_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace e2e {

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kIdleTitle[] = "Tarnwick GBA v0.3a";
// A message box's text is the static control 0xFFFF; the file dialogs have these instead.
constexpr int kBoxText = 0xFFFF;
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;
constexpr int kPollMs = 5;

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Top-level windows only keep their caption outside the process, so this is safe to call
// without a message round trip; controls need WM_GETTEXT (ControlText).
std::string CaptionOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ControlText(HWND control) {
  char text[1024] = "";
  LRESULT copied = 0;
  if (!control) return "<no such control>";
  if (!SendBounded(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), &copied))
    return "<no answer>";
  return text;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// The top-level dialogs of one process that pass a test; EnumWindows wants a plain callback.
struct Search {
  DWORD process;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  if (ProcessOf(window) != search->process || ClassOf(window) != kDialogClass) return TRUE;
  if (!(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindDialog(DWORD process, const std::function<bool(HWND)>& match) {
  Search search = {process, &match, nullptr};
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsFileDialog(HWND window) {
  return GetDlgItem(window, kFileNameCombo) || GetDlgItem(window, kFileNameEdit);
}

bool IsMessageBox(HWND window) { return GetDlgItem(window, kBoxText) && !IsFileDialog(window); }

// Texts of list and combo rows. Wine answers the A form of these across processes with
// UTF-16 bytes, so ask in the W form and convert.
std::string RowText(HWND control, UINT length_message, UINT text_message, int row) {
  LRESULT length = 0;
  if (!SendBounded(control, length_message, row, 0, &length) || length < 0) return "<no answer>";
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, text_message, row, reinterpret_cast<LPARAM>(&wide[0]),
                           SMTO_NORMAL, kShortWaitMs, &copied))
    return "<no answer>";
  wide.resize(wcsnlen(wide.c_str(), wide.size()));
  std::string text(wide.size() * 2 + 1, '\0');
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                  static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(bytes > 0 ? bytes : 0);
  return text;
}

::testing::AssertionResult ClickLikeMouse(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return ::testing::AssertionFailure() << "no control " << id;
  if (!IsWindowEnabled(control))
    return ::testing::AssertionFailure() << "control " << id << " is disabled";
  // BM_CLICK runs the button's own mouse handling: it checks itself, then notifies.
  LRESULT ignored = 0;
  if (!SendBounded(control, BM_CLICK, 0, 0, &ignored))
    return ::testing::AssertionFailure() << "control " << id << " did not answer a click";
  return ::testing::AssertionSuccess();
}

}  // namespace

bool SendBounded(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result,
                 int timeout_ms) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, timeout_ms, &answer))
    return false;
  *result = static_cast<LRESULT>(answer);
  return true;
}

// ---- Folders ----------------------------------------------------------------------------

TempFolder::TempFolder() {
  char base[MAX_PATH];
  DWORD length = GetTempPathA(sizeof base, base);
  if (length == 0 || length >= sizeof base) return;
  if (base[length - 1] == '\\') base[length - 1] = '\0';
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%s\\tarnwick-e2e-%08lx-%u", base, GetCurrentProcessId(),
             static_cast<unsigned>(counter++ * 7919u + GetTickCount() % 7919u));
    // An existing name fails here and is passed over, never shared.
    if (CreateDirectoryA(name, nullptr)) {
      path_ = name;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) name += "\\";
    names.push_back(name);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

// ---- Option dialogs ---------------------------------------------------------------------

bool OptionDialog::Checked(int id) const {
  LRESULT state = 0;
  return SendBounded(GetDlgItem(window_, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool OptionDialog::Enabled(int id) const {
  HWND control = GetDlgItem(window_, id);
  return control && IsWindowEnabled(control);
}

std::string OptionDialog::Text(int id) const { return ControlText(GetDlgItem(window_, id)); }

::testing::AssertionResult OptionDialog::Click(int id) { return ClickLikeMouse(window_, id); }

std::vector<std::string> OptionDialog::ComboEntries(int id) const {
  std::vector<std::string> entries;
  HWND combo = GetDlgItem(window_, id);
  LRESULT count = 0;
  if (!combo || !SendBounded(combo, CB_GETCOUNT, 0, 0, &count)) return entries;
  for (int i = 0; i < count; ++i)
    entries.push_back(RowText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  return entries;
}

int OptionDialog::ComboSelection(int id) const {
  LRESULT position = 0;
  if (!SendBounded(GetDlgItem(window_, id), CB_GETCURSEL, 0, 0, &position)) return -2;
  return static_cast<int>(position);
}

::testing::AssertionResult OptionDialog::ChooseComboEntry(int id, int position) {
  HWND combo = GetDlgItem(window_, id);
  if (!combo) return ::testing::AssertionFailure() << "no combo box " << id;
  if (!IsWindowEnabled(combo))
    return ::testing::AssertionFailure() << "combo box " << id << " is disabled";
  LRESULT ignored = 0;
  // CB_SETCURSEL sends no notification of its own; the drop-down list would send this one.
  if (!SendBounded(combo, CB_SETCURSEL, position, 0, &ignored) ||
      !SendBounded(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo), &ignored))
    return ::testing::AssertionFailure() << "combo box " << id << " did not answer";
  return ::testing::AssertionSuccess();
}

// ---- The program ------------------------------------------------------------------------

Program::~Program() { Release(); }

void Program::Release() {
  if (!process_.hProcess) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kShortWaitMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
  main_ = nullptr;
}

bool Program::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

::testing::AssertionResult Program::Start(const std::string& exe, const std::string& folder,
                                          const std::string& output_path) {
  Release();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  // The program's diagnostics on standard output go to a file of the test's, not our output.
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  // Shared for writing too: the handle of a program that has just ended may still be closing.
  HANDLE output =
      CreateFileA(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE)
    return ::testing::AssertionFailure()
           << "cannot create " << output_path << " (error " << GetLastError() << ")";
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string command = "\"" + exe + "\"";
  BOOL started = CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                folder.c_str(), &startup, &process_);
  DWORD error = GetLastError();
  CloseHandle(output);
  if (!started)
    return ::testing::AssertionFailure() << "cannot start " << exe << " (error " << error << ")";
  return Poll(
      "the main window of " + exe, [&] { return (main_ = FindMainWindow()) != nullptr; },
      kShortWaitMs, false);
}

HWND Program::FindMainWindow() const {
  return FindDialog(process_.dwProcessId, [](HWND window) {
    return GetDlgItem(window, IDC_ROM_LIST) && GetDlgItem(window, IDC_PROGRESS);
  });
}

HWND Program::FindOwnedDialog(const std::function<bool(HWND)>& match) const {
  return FindDialog(process_.dwProcessId, [&](HWND window) {
    return GetWindow(window, GW_OWNER) == main_ && IsWindowVisible(window) && match(window);
  });
}

HWND Program::FindTopDialog(const std::string& caption) const {
  return FindDialog(process_.dwProcessId, [&](HWND window) {
    return window != main_ && IsWindowVisible(window) && CaptionOf(window) == caption;
  });
}

::testing::AssertionResult Program::WaitIdle(int timeout_ms) {
  return WaitUntil(
      "the idle main window",
      [&] {
        return IsWindowVisible(main_) && Title() == kIdleTitle && Enabled(IDC_LOAD) &&
               MainEnabled();
      },
      timeout_ms);
}

std::string Program::Title() const { return CaptionOf(main_); }

std::string Program::Text(int id) const { return ControlText(GetDlgItem(main_, id)); }

bool Program::Enabled(int id) const {
  HWND control = GetDlgItem(main_, id);
  return control && IsWindowEnabled(control);
}

bool Program::Checked(int id) const {
  LRESULT state = 0;
  return SendBounded(GetDlgItem(main_, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

std::vector<std::string> Program::Rows() const {
  std::vector<std::string> rows;
  HWND list = GetDlgItem(main_, IDC_ROM_LIST);
  LRESULT count = 0;
  if (!SendBounded(list, LB_GETCOUNT, 0, 0, &count)) return {"<no answer>"};
  for (int i = 0; i < count; ++i) rows.push_back(RowText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
  return rows;
}

int Program::RowCount() const {
  LRESULT count = 0;
  if (!SendBounded(GetDlgItem(main_, IDC_ROM_LIST), LB_GETCOUNT, 0, 0, &count)) return -1;
  return static_cast<int>(count);
}

std::string Program::Row(int index) const {
  return RowText(GetDlgItem(main_, IDC_ROM_LIST), LB_GETTEXTLEN, LB_GETTEXT, index);
}

int Program::Progress() const {
  LRESULT position = -1;
  if (!SendBounded(GetDlgItem(main_, IDC_PROGRESS), PBM_GETPOS, 0, 0, &position)) return -1;
  return static_cast<int>(position);
}

static ::testing::AssertionResult CheckClickable(HWND main, int id, HWND* control) {
  *control = GetDlgItem(main, id);
  if (!*control) return ::testing::AssertionFailure() << "the main window has no control " << id;
  if (!IsWindowEnabled(*control))
    return ::testing::AssertionFailure() << "control " << id << " is disabled";
  if (!IsWindowEnabled(main)) return ::testing::AssertionFailure() << "the main window is disabled";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::Click(int id) {
  HWND control = nullptr;
  ::testing::AssertionResult clickable = CheckClickable(main_, id, &control);
  if (!clickable) return clickable;
  LRESULT ignored = 0;
  if (!SendBounded(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control),
                   &ignored))
    return ::testing::AssertionFailure() << "no answer to a click on " << id << "; " << Describe();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::Press(int id) {
  HWND control = nullptr;
  ::testing::AssertionResult clickable = CheckClickable(main_, id, &control);
  if (!clickable) return clickable;
  if (!PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(control)))
    return ::testing::AssertionFailure() << "cannot post a click on " << id;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::ClickRadio(int id) {
  if (!IsWindowEnabled(main_))
    return ::testing::AssertionFailure() << "the main window is disabled";
  return ClickLikeMouse(main_, id);
}

bool Program::FindMessageBox(ShownBox* box) const {
  HWND window = FindOwnedDialog(IsMessageBox);
  if (!window) return false;
  box->window = window;
  box->caption = CaptionOf(window);
  box->text = ControlText(GetDlgItem(window, kBoxText));
  return true;
}

::testing::AssertionResult Program::NoMessageBox() const {
  ShownBox box;
  if (FindMessageBox(&box))
    return ::testing::AssertionFailure()
           << "unexpected message box \"" << box.caption << "\": \"" << box.text << "\"";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::Answer(const std::string& caption, std::string* text,
                                           int timeout_ms) {
  ShownBox box;
  ::testing::AssertionResult found = Poll(
      "a message box \"" + caption + "\"", [&] { return FindMessageBox(&box); }, timeout_ms, false);
  if (!found) return found;
  if (box.caption != caption)
    return ::testing::AssertionFailure() << "expected a message box \"" << caption << "\", found \""
                                         << box.caption << "\": \"" << box.text << "\"";
  *text = box.text;
  PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  return Poll(
      "the message box \"" + caption + "\" to close",
      [&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, kShortWaitMs, false);
}

::testing::AssertionResult Program::Answer(const std::string& caption, const char* expected_text,
                                           int timeout_ms) {
  std::string text;
  ::testing::AssertionResult answered = Answer(caption, &text, timeout_ms);
  if (!answered) return answered;
  if (text != expected_text)
    return ::testing::AssertionFailure() << "message box \"" << caption << "\" said \"" << text
                                         << "\", expected \"" << expected_text << "\"";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::CancelFileDialog(int timeout_ms) {
  HWND dialog = nullptr;
  ::testing::AssertionResult found = Poll(
      "the open-file dialog", [&] { return (dialog = FindOwnedDialog(IsFileDialog)) != nullptr; },
      timeout_ms, true);
  if (!found) return found;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return Poll(
      "the open-file dialog to close", [&] { return !IsWindow(dialog); }, timeout_ms, false);
}

::testing::AssertionResult Program::OpenOptions(int button, const char* caption,
                                                OptionDialog* dialog) {
  ::testing::AssertionResult pressed = Press(button);
  if (!pressed) return pressed;
  HWND window = nullptr;
  ::testing::AssertionResult found = Poll(
      std::string("the dialog \"") + caption + "\"",
      [&] { return (window = FindTopDialog(caption)) != nullptr; }, kShortWaitMs, true);
  if (!found) return found;
  *dialog = OptionDialog(window);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::CloseOptions(OptionDialog* dialog) {
  HWND window = dialog->window();
  PostMessageA(window, WM_CLOSE, 0, 0);
  ::testing::AssertionResult closed = Poll(
      "the option dialog to close and the main window to be usable",
      [&] { return !IsWindow(window) && MainEnabled(); }, kShortWaitMs, true);
  if (!closed) return closed;
  *dialog = OptionDialog();
  // The list refresh that follows the close runs on the UI thread after the main window is
  // enabled again.
  return Sync();
}

::testing::AssertionResult Program::Sync() const {
  // A sent message is handled only when the UI thread next looks at its queue.
  LRESULT ignored = 0;
  if (!SendBounded(main_, WM_NULL, 0, 0, &ignored))
    return ::testing::AssertionFailure() << "the main window stopped answering; " << Describe();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::Close(DWORD* exit_code, int timeout_ms) {
  ::testing::AssertionResult no_box = NoMessageBox();
  if (!no_box) return no_box << " before closing";
  PostClose();
  return WaitExit(exit_code, timeout_ms);
}

::testing::AssertionResult Program::WaitExit(DWORD* exit_code, int timeout_ms) {
  DWORD start = GetTickCount();
  while (Running()) {
    ShownBox box;
    if (FindMessageBox(&box))
      return ::testing::AssertionFailure()
             << "message box \"" << box.caption << "\": \"" << box.text << "\" while closing";
    if (static_cast<int>(GetTickCount() - start) > timeout_ms)
      return ::testing::AssertionFailure()
             << "the program did not end within " << timeout_ms << " ms of closing; " << Describe();
    Sleep(kPollMs);
  }
  GetExitCodeProcess(process_.hProcess, exit_code);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Program::WaitUntil(const std::string& what,
                                              const std::function<bool()>& done,
                                              int timeout_ms) const {
  return Poll(what, done, timeout_ms, true);
}

::testing::AssertionResult Program::Poll(const std::string& what, const std::function<bool()>& done,
                                         int timeout_ms, bool fail_on_box) const {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return ::testing::AssertionSuccess();
    if (!Running()) {
      DWORD code = 0;
      GetExitCodeProcess(process_.hProcess, &code);
      return ::testing::AssertionFailure()
             << "the program ended (exit code " << code << ") while waiting for " << what;
    }
    ShownBox box;
    if (fail_on_box && FindMessageBox(&box))
      return ::testing::AssertionFailure() << "message box \"" << box.caption << "\": \""
                                           << box.text << "\" while waiting for " << what;
    if (static_cast<int>(GetTickCount() - start) > timeout_ms)
      return ::testing::AssertionFailure()
             << "waited " << timeout_ms << " ms for " << what << "; " << Describe();
    Sleep(kPollMs);
  }
}

std::string Program::Describe() const {
  if (!process_.hProcess) return "the program was not started";
  std::string text;
  if (!Running()) {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return "the program has ended with code " + std::to_string(code);
  }
  text = "title \"" + Title() + "\"";
  if (main_ && !IsWindowVisible(main_)) text += " (hidden)";
  if (main_ && !IsWindowEnabled(main_)) text += " (disabled)";
  ShownBox box;
  if (FindMessageBox(&box)) text += ", message box \"" + box.caption + "\": \"" + box.text + "\"";
  return text;
}

}  // namespace e2e
