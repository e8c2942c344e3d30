// fuzz_support.h: what every fuzz target shares: a silent main window and a private program
// directory that is also the current directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/window.h"

// Keeps the three path fields (the INI reader reads back what it set) and drops everything
// else, so a run neither prints nor grows memory.
class QuietWindow : public Window {
 public:
  void EnableControl(int, bool) override {}
  void SetControlText(int id, const char* text) override;
  int GetControlText(int id, char* out, int size) override;
  void SetTitle(const char*) override {}
  void SetRadio(int, bool) override {}
  // Show All, as every load leaves it: each record's display name is built.
  bool IsRadioOn(int id) override;
  void ClearList() override {}
  void AddListRow(const char*) override {}
  void EndListRows() override {}
  void SetProgress(int) override {}
  void ShowMessage(const char*, const char*) override {}
  void SendScanFinished() override {}
  void RunOnUiThread(void (*task)()) override { task(); }

  // Empties the path fields, as a fresh start of the program finds them.
  void ClearFields();

 private:
  static constexpr int kFields = 3;
  char fields_[kFields][kPathFieldSize] = {};
};

// Once per process: the quiet window, an empty table, default options, and a new folder under
// the system's temporary folder as program directory and current directory (removed at exit).
// Standard output is silenced: identification reports every damaged zip there.
void SetUpFuzzProcess();

// The private folder, as a native path ending in "/", and the same in the system's format.
const std::string& FuzzDir();
std::string FuzzSystemPath(const char* name);

// Writes the input to a file in the private folder; false when the write failed.
bool WriteFuzzFile(const char* name, const uint8_t* data, size_t size);

QuietWindow& FuzzWindow();
