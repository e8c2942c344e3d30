// fake_window.h: a recording main window, so tests can assert what a user would see.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/window.h"

class FakeWindow : public Window {
 public:
  struct Message {
    std::string text, caption;
  };
  struct Control {
    bool enabled = false, checked = false;
    std::string text;
  };

  // Controls as the main window creates them: Load enabled, commands disabled, counters 0.
  FakeWindow();

  // The operations lock, since a scan calls them from its own thread. Each one is also
  // recorded in order, for tests about sequence.
  void EnableControl(int id, bool enabled) override {
    Lock(), controls_[id].enabled = enabled, Record(enabled ? "enable " : "disable ", id);
  }
  void SetControlText(int id, const char* text) override { Lock(), controls_[id].text = text; }
  int GetControlText(int id, char* out, int size) override;
  void SetTitle(const char* title) override {
    Lock(), title_ = title, ++title_changes_, Record("title ", title);
  }
  void SetRadio(int id, bool on) override { Lock(), controls_[id].checked = on; }
  bool IsRadioOn(int id) override { return Lock(), controls_[id].checked; }
  void ClearList() override { Lock(), rows_.clear(); }
  void AddListRow(const char* text) override { Lock(), rows_.push_back(text); }
  void EndListRows() override { Lock(), ++list_refreshes_; }
  void SetProgress(int position) override {
    Lock(), progress_.push_back(position), Record("progress ", position);
  }
  void ShowMessage(const char* text, const char* caption) override {
    Lock(), messages_.push_back({text, caption}), Record("message ", text);
  }
  // Handled as the main window handles it: the scan's controls enabled again.
  void SendScanFinished() override;
  // The fake has no UI thread of its own: the task runs on the caller's.
  void RunOnUiThread(void (*task)()) override {
    Lock(), Record("ui-task", "");
    task();
  }

  // What the user sees, read by the test once the code under test has returned.
  bool enabled(int id) { return controls_[id].enabled; }
  bool checked(int id) { return controls_[id].checked; }
  std::string text(int id) { return controls_[id].text; }
  const std::string& title() const { return title_; }
  int title_changes() const { return title_changes_; }
  const std::vector<std::string>& rows() const { return rows_; }  // in the order added
  std::vector<std::string> sorted_rows() const;  // as the sorted list box shows them
  const std::vector<Message>& messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  const std::vector<int>& progress() const { return progress_; }
  int scan_finished() const { return scan_finished_; }
  int list_refreshes() const { return list_refreshes_; }
  // "disable 1024", "title ...", "progress 33", "message Done!", "scan-finished", in order.
  const std::vector<std::string>& events() const { return events_; }
  void ClearEvents() { events_.clear(); }

  // Selects one show-filter button as a click would.
  void Show(int radio_id);

 private:
  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }
  void Record(const char* what, const std::string& value) { events_.push_back(what + value); }
  void Record(const char* what, int value) { Record(what, std::to_string(value)); }

  std::mutex mutex_;
  std::map<int, Control> controls_;
  std::string title_ = "Tarnwick";
  int title_changes_ = 0;
  std::vector<std::string> rows_;
  std::vector<Message> messages_;
  std::vector<int> progress_;
  std::vector<std::string> events_;
  int scan_finished_ = 0;
  int list_refreshes_ = 0;
};
