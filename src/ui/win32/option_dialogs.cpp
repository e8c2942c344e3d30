// option_dialogs.cpp: the three option dialogs. They have no OK or Cancel: what a dialog shows
// when it closes becomes the settings, and the ROM list is refreshed.
#include "ui/win32/option_dialogs.h"

#include <cstdint>

#include "app/list_commands.h"
#include "settings/settings.h"
#include "ui/win32/resource.h"

namespace {

HWND g_main_window = nullptr;

// A check box and the setting it shows.
struct Box {
  int id;
  int32_t Settings::*setting;
};

constexpr Box kInclusionBoxes[] = {
    {IDC_INC_ALT, &Settings::IncAlt},
    {IDC_INC_BETA, &Settings::IncBeta},
    {IDC_INC_DEVKIT, &Settings::IncDevKit},
    {IDC_INC_HARDWARE, &Settings::IncHardware},
    {IDC_INC_PIRATE, &Settings::IncPirate},
    {IDC_INC_PNES_HACKS, &Settings::IncPnesHacks},
    {IDC_INC_PRE_TRAINED, &Settings::IncPreTrained},
    {IDC_INC_SCENE, &Settings::IncScene},
};

constexpr Box kNamingBoxes[] = {
    {IDC_NAMING_NUM, &Settings::NUM}, {IDC_NAMING_CODE, &Settings::CODE},
    {IDC_NAMING_CRC, &Settings::CRC}, {IDC_NAMING_GRP, &Settings::GRP},
    {IDC_NAMING_PUB, &Settings::PUB}, {IDC_NAMING_SIZE, &Settings::SIZE},
};

// NAME by radio button; any other value of NAME checks none of them.
constexpr int kNameButtons[] = {IDC_NAME_NORMAL, IDC_NAME_FRIENDLY, IDC_NAME_SCENE};

constexpr Box kRenamingBoxes[] = {
    {IDC_RENAMING_CLEAN, &Settings::CLEAN},     {IDC_RENAMING_DELBAD, &Settings::DELBAD},
    {IDC_RENAMING_DELDUPE, &Settings::DELDUPE}, {IDC_RENAMING_FIX, &Settings::FIX},
    {IDC_RENAMING_LOG, &Settings::LOG},         {IDC_RENAMING_INZIP, &Settings::INZIP},
    {IDC_RENAMING_SUB, &Settings::SUB},
};

// The combo box entries; an entry's position is its TYPE.
constexpr const char* kTypeEntries[] = {"By Type", "By Country", "By Rom Size"};

template <size_t N>
void ShowBoxes(HWND dialog, const Box (&boxes)[N]) {
  for (const Box& box : boxes)
    CheckDlgButton(dialog, box.id, g_settings.*box.setting != 0 ? BST_CHECKED : BST_UNCHECKED);
}

// Disabled boxes are read back too, so they keep the value they were shown with.
template <size_t N>
void ReadBoxes(HWND dialog, const Box (&boxes)[N]) {
  for (const Box& box : boxes)
    g_settings.*box.setting = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
}

void ShowRenamingOptions(HWND dialog) {
  ShowBoxes(dialog, kRenamingBoxes);
  HWND combo = GetDlgItem(dialog, IDC_RENAMING_TYPE);
  for (const char* entry : kTypeEntries)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  EnableWindow(combo, IsDlgButtonChecked(dialog, IDC_RENAMING_SUB) == BST_CHECKED);
  // A TYPE outside the entries selects none, and the box shows empty.
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(g_settings.TYPE), 0);
}

void ReadRenamingOptions(HWND dialog) {
  ReadBoxes(dialog, kRenamingBoxes);
  LRESULT selected = SendDlgItemMessageA(dialog, IDC_RENAMING_TYPE, CB_GETCURSEL, 0, 0);
  g_settings.TYPE = selected >= 0 && selected <= 2 ? static_cast<int32_t>(selected) : -1;
}

void ShowNamingOptions(HWND dialog) {
  for (int value = 0; value < 3; ++value)
    CheckDlgButton(dialog, kNameButtons[value],
                   g_settings.NAME == value ? BST_CHECKED : BST_UNCHECKED);
  ShowBoxes(dialog, kNamingBoxes);
}

void ReadNamingOptions(HWND dialog) {
  // The last checked button wins; with none checked NAME keeps its value.
  for (int value = 0; value < 3; ++value)
    if (IsDlgButtonChecked(dialog, kNameButtons[value]) == BST_CHECKED) g_settings.NAME = value;
  ReadBoxes(dialog, kNamingBoxes);
}

void ShowInclusions(HWND dialog) { ShowBoxes(dialog, kInclusionBoxes); }
void ReadInclusions(HWND dialog) { ReadBoxes(dialog, kInclusionBoxes); }

// By OptionDialog: the template's name, and how the dialog shows and reads back its settings.
struct DialogKind {
  const char* name;
  void (*show)(HWND dialog);
  void (*read)(HWND dialog);
};
constexpr DialogKind kDialogs[] = {
    {"inclusions", ShowInclusions, ReadInclusions},
    {"naming", ShowNamingOptions, ReadNamingOptions},
    {"renaming", ShowRenamingOptions, ReadRenamingOptions},
};

// The dialog's kind, kept as its index plus one, so that a dialog destroyed before its
// initialisation (0) reads nothing back.
const DialogKind* KindOf(HWND dialog) {
  LONG_PTR stored = GetWindowLongPtrA(dialog, DWLP_USER);
  return stored >= 1 && stored <= 3 ? &kDialogs[stored - 1] : nullptr;
}

// One procedure for the three dialogs: lParam of the opening tells which one it is.
INT_PTR OptionDialogMessage(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lparam + 1);
      SetDialogClassLook(dialog);
      KindOf(dialog)->show(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) >= IDC_NAME_NORMAL && LOWORD(wparam) <= IDC_NAME_SCENE &&
          KindOf(dialog) == &kDialogs[static_cast<int>(OptionDialog::kNaming)]) {
        // A click clears only the enabled buttons of its group: a disabled one shown checked
        // would stay checked and, read last, undo the click.
        CheckRadioButton(dialog, IDC_NAME_NORMAL, IDC_NAME_SCENE, LOWORD(wparam));
        return TRUE;
      }
      if (LOWORD(wparam) == IDC_RENAMING_SUB &&
          KindOf(dialog) == &kDialogs[static_cast<int>(OptionDialog::kRenaming)]) {
        // The selection stays whether the box is enabled or not.
        EnableWindow(GetDlgItem(dialog, IDC_RENAMING_TYPE),
                     IsDlgButtonChecked(dialog, IDC_RENAMING_SUB) == BST_CHECKED);
        return TRUE;
      }
      // Enter and Escape, and every other command, do nothing: only closing ends a dialog.
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      // The controls still exist while their parent is destroyed: read them back now.
      if (KindOf(dialog) != nullptr) KindOf(dialog)->read(dialog);
      EnableWindow(g_main_window, TRUE);
      SetActiveWindow(g_main_window);
      RefreshRomList();
      return TRUE;
  }
  return FALSE;
}

// Guarded as the main window's procedure is: nothing escapes into the system's code.
INT_PTR CALLBACK OptionDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return OptionDialogMessage(dialog, message, wparam, lparam);
  } catch (...) {
    return TRUE;
  }
}

}  // namespace

void SetDialogClassLook(HWND dialog) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SetClassLongPtrA(dialog, GCLP_HICON,
                   reinterpret_cast<LONG_PTR>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TARNWICK))));
  // The menu colour, by the rule of system colour index plus one.
  SetClassLongPtrA(dialog, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(COLOR_MENU + 1));
}

void OpenOptionDialog(HINSTANCE instance, HWND main_window, OptionDialog which) {
  g_main_window = main_window;
  EnableWindow(main_window, FALSE);
  INT_PTR result = DialogBoxParamA(instance, kDialogs[static_cast<int>(which)].name, nullptr,
                                   OptionDialogProc, static_cast<LPARAM>(which));
  // A dialog that could not be made must not leave the main window dead.
  if (result == -1) EnableWindow(main_window, TRUE);
}
