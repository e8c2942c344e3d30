// quiet_window.cpp: the recording main window of the tests and tools.
#include "support/quiet_window.h"

#include <algorithm>
#include <cstring>

#include "app/controls.h"
#include "app/scan_worker.h"

QuietWindow::QuietWindow(bool record) : record_(record) {
  controls_[IDC_LOAD].enabled = true;
  controls_[IDC_KNOWN_COUNTER].text = "0 (0)";
  controls_[IDC_HAVE_COUNTER].text = controls_[IDC_MISS_COUNTER].text = "0";
  controls_[IDC_SHOW_ALL].checked = true;
}

void QuietWindow::Record(const std::string& event) {
  if (record_) events_.push_back(event);
}

void QuietWindow::EnableControl(int id, bool enabled) {
  auto lock = Hold();
  controls_[id].enabled = enabled;
  Record((enabled ? "enable " : "disable ") + std::to_string(id));
}

void QuietWindow::SetControlText(int id, const char* text) { Hold(), controls_[id].text = text; }

int QuietWindow::GetControlText(int id, char* out, int size) {
  auto lock = Hold();
  if (size <= 0) return 0;
  const std::string& text = controls_[id].text;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

void QuietWindow::SetTitle(const char* title) {
  auto lock = Hold();
  title_ = title;
  Record(std::string("title ") + title);
}

void QuietWindow::SetRadio(int id, bool on) { Hold(), controls_[id].checked = on; }
bool QuietWindow::IsRadioOn(int id) { return Hold(), controls_[id].checked; }
void QuietWindow::ClearList() { Hold(), rows_.clear(), quiet_rows_ = 0; }
// A quiet window serves one thread and only counts its rows, unlocked: the benchmark times a
// refresh, not a copy of each row and a lock.
void QuietWindow::AddListRow(const char* text) {
  record_ ? (Hold(), rows_.push_back(text)) : void(++quiet_rows_);
}
void QuietWindow::EndListRows() {}
void QuietWindow::ScrollListToTop() { Hold(), Record("list-top"); }

void QuietWindow::SetProgress(int position) {
  auto lock = Hold();
  if (record_) progress_.push_back(position);
  Record("progress " + std::to_string(position));
}

void QuietWindow::ShowMessage(const char* text, const char* caption) {
  auto lock = Hold();
  if (!record_) messages_.clear();  // the last one only
  messages_.push_back({text, caption});
  Record(std::string("message ") + text);
}

void QuietWindow::SendScanFinished() {
  Hold(), Record("scan-finished");
  OnScanFinished(*this);
}

void QuietWindow::RunOnUiThread(void (*task)(void*), void* context) {
  Hold(), Record("ui-task");
  task(context);
}

bool QuietWindow::enabled(int id) { return Hold(), controls_[id].enabled; }
std::string QuietWindow::text(int id) { return Hold(), controls_[id].text; }
std::string QuietWindow::title() { return Hold(), title_; }

void QuietWindow::ClearRecord() {
  auto lock = Hold();
  messages_.clear();
  events_.clear();
  progress_.clear();
}

void QuietWindow::Show(int radio_id) {
  auto lock = Hold();
  for (int id : {IDC_SHOW_ALL, IDC_SHOW_HAVE, IDC_SHOW_MISS})
    controls_[id].checked = id == radio_id;
}
