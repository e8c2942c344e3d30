// fake_window.h: a recording main window, so tests can assert what a user would see.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/window.h"

class FakeWindow : public Window {
 public:
  struct Message {
    std::string text;
    std::string caption;
  };

  // Controls as the main window creates them: Load enabled, commands disabled, counters 0.
  FakeWindow();

  void EnableControl(int id, bool enabled) override;
  void SetControlText(int id, const char* text) override;
  int GetControlText(int id, char* out, int size) override;
  void SetTitle(const char* title) override;
  void SetRadio(int id, bool on) override;
  bool IsRadioOn(int id) override;
  void ClearList() override;
  void AddListRow(const char* text) override;
  void SetProgress(int position) override;
  void ShowMessage(const char* text, const char* caption) override;
  void SendScanFinished() override;

  bool enabled(int id);
  std::string text(int id);
  std::string title();
  int title_changes();
  bool checked(int id);
  std::vector<std::string> rows();         // in the order they were added
  std::vector<std::string> sorted_rows();  // as the sorted list box shows them
  std::vector<Message> messages();
  int progress();
  int scan_finished_count();
  void ClearMessages();

  // Selects one show-filter button as a click would.
  void Show(int radio_id);

 private:
  struct Control {
    bool enabled = false;
    bool checked = false;
    std::string text;
  };
  std::mutex mutex_;
  std::map<int, Control> controls_;
  std::string title_;
  int title_changes_ = 0;
  std::vector<std::string> rows_;
  std::vector<Message> messages_;
  int progress_ = 0;
  int scan_finished_ = 0;
};
