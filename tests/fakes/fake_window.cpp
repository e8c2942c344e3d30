// fake_window.cpp: the recording main window of the tests.
#include "fakes/fake_window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "ui/controls.h"

FakeWindow::FakeWindow() {
  controls_[ctl::kLoad].enabled = true;
  controls_[ctl::kRomList].enabled = true;
  controls_[ctl::kProgress].enabled = true;
  controls_[ctl::kKnownCounter].text = "0 (0)";
  controls_[ctl::kHaveCounter].text = "0";
  controls_[ctl::kMissCounter].text = "0";
  controls_[ctl::kShowAll].checked = true;
  title_ = "Tarnwick";
}

void FakeWindow::EnableControl(int id, bool enabled) {
  std::lock_guard<std::mutex> lock(mutex_);
  controls_[id].enabled = enabled;
}

void FakeWindow::SetControlText(int id, const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  controls_[id].text = text;
}

int FakeWindow::GetControlText(int id, char* out, int size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (size <= 0) return 0;
  const std::string& text = controls_[id].text;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

void FakeWindow::SetTitle(const char* title) {
  std::lock_guard<std::mutex> lock(mutex_);
  title_ = title;
  ++title_changes_;
}

void FakeWindow::SetRadio(int id, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  controls_[id].checked = on;
}

bool FakeWindow::IsRadioOn(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return controls_[id].checked;
}

void FakeWindow::ClearList() {
  std::lock_guard<std::mutex> lock(mutex_);
  rows_.clear();
}

void FakeWindow::AddListRow(const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  rows_.push_back(text);
}

void FakeWindow::SetProgress(int position) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_ = position;
}

void FakeWindow::ShowMessage(const char* text, const char* caption) {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back({text, caption});
}

void FakeWindow::SendScanFinished() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++scan_finished_;
}

bool FakeWindow::enabled(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return controls_[id].enabled;
}

std::string FakeWindow::text(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return controls_[id].text;
}

std::string FakeWindow::title() {
  std::lock_guard<std::mutex> lock(mutex_);
  return title_;
}

int FakeWindow::title_changes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return title_changes_;
}

bool FakeWindow::checked(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return controls_[id].checked;
}

std::vector<std::string> FakeWindow::rows() {
  std::lock_guard<std::mutex> lock(mutex_);
  return rows_;
}

std::vector<std::string> FakeWindow::sorted_rows() {
  std::vector<std::string> sorted = rows();
  std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  });
  return sorted;
}

std::vector<FakeWindow::Message> FakeWindow::messages() {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

int FakeWindow::progress() {
  std::lock_guard<std::mutex> lock(mutex_);
  return progress_;
}

int FakeWindow::scan_finished_count() {
  std::lock_guard<std::mutex> lock(mutex_);
  return scan_finished_;
}

void FakeWindow::ClearMessages() {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.clear();
}

void FakeWindow::Show(int radio_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int id : {ctl::kShowAll, ctl::kShowHave, ctl::kShowMiss})
    controls_[id].checked = id == radio_id;
}
