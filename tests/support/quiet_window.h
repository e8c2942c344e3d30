// quiet_window.h: the main window every harness uses: it keeps the three path fields, the show
// filter, the counters and the list, and records what a user would have seen, in order, unless
// told to stay quiet (the fuzz targets, the benchmark, the kill driver).
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/window.h"

class QuietWindow : public Window {
 public:
  struct Message {
    std::string text, caption;
  };

  // Controls as the main window creates them: Load enabled, the rest disabled, counters 0,
  // Show All on. With record false, only the fields, radios, counters and the number of rows
  // are kept.
  explicit QuietWindow(bool record = true);

  // Every operation locks: a scan calls them from its own thread.
  void EnableControl(int id, bool enabled) override;
  void SetControlText(int id, const char* text) override;
  int GetControlText(int id, char* out, int size) override;
  void SetTitle(const char* title) override;
  void SetRadio(int id, bool on) override;
  bool IsRadioOn(int id) override;
  void ClearList() override;
  void AddListRow(const char* text) override;
  void EndListRows() override;
  void ScrollListToTop() override;
  void SetProgress(int position) override;
  void ShowMessage(const char* text, const char* caption) override;
  // Handled as the main window handles it: the scan's controls enabled again.
  void SendScanFinished() override;
  // No UI thread of its own: the task runs on the caller's.
  void RunOnUiThread(void (*task)(void*), void* context) override;

  // What the user sees, read once the code under test has returned.
  bool enabled(int id);
  std::string text(int id);
  std::string title();
  const std::vector<std::string>& rows() const { return rows_; }  // in the order added
  int row_count() const { return static_cast<int>(rows_.size()) + quiet_rows_; }
  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<int>& progress() const { return progress_; }
  // "disable 1024", "title ...", "progress 33", "message Done!", "ui-task", "scan-finished".
  const std::vector<std::string>& events() const { return events_; }
  void ClearRecord();  // messages, events and progress
  // Selects one show-filter button as a click would.
  void Show(int radio_id);

 private:
  struct Control {
    bool enabled = false, checked = false;
    std::string text;
  };
  void Record(const std::string& event);
  std::unique_lock<std::mutex> Hold() { return std::unique_lock<std::mutex>(mutex_); }

  bool record_;
  std::mutex mutex_;
  std::map<int, Control> controls_;
  std::string title_ = "Tarnwick";
  std::vector<std::string> rows_;  // recorded; a quiet window counts them in quiet_rows_
  int quiet_rows_ = 0;
  std::vector<Message> messages_;
  std::vector<int> progress_;
  std::vector<std::string> events_;
};
