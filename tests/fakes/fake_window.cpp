// fake_window.cpp: the recording main window of the tests.
#include "fakes/fake_window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "scanner/scan_worker.h"
#include "ui/controls.h"

FakeWindow::FakeWindow() {
  controls_[ctl::kLoad].enabled = true;
  controls_[ctl::kKnownCounter].text = "0 (0)";
  controls_[ctl::kHaveCounter].text = "0";
  controls_[ctl::kMissCounter].text = "0";
  controls_[ctl::kShowAll].checked = true;
}

int FakeWindow::GetControlText(int id, char* out, int size) {
  auto lock = Lock();
  if (size <= 0) return 0;
  const std::string& text = controls_[id].text;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

std::vector<std::string> FakeWindow::sorted_rows() const {
  std::vector<std::string> sorted = rows_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  });
  return sorted;
}

void FakeWindow::Show(int radio_id) {
  for (int id : {ctl::kShowAll, ctl::kShowHave, ctl::kShowMiss})
    controls_[id].checked = id == radio_id;
}

void FakeWindow::SendScanFinished() {
  {
    auto lock = Lock();
    ++scan_finished_;
    Record("scan-finished", "");
  }
  OnScanFinished();
}
