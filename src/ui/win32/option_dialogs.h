// option_dialogs.h: the Include/Exclude, Naming Options and Renaming Options dialogs.
#pragma once

#include <windows.h>

enum class OptionDialog { kInclusions, kNaming, kRenaming };

// Disables the main window and shows the dialog modally; returns once it has closed, with
// the settings read back, the main window enabled and active, and the ROM list refreshed.
void OpenOptionDialog(HINSTANCE instance, HWND main_window, OptionDialog which);

// Class icon and background shared by the main window and the option dialogs.
void SetDialogClassLook(HWND dialog);
