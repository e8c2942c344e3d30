// fake_window.cpp: the recording main window of the tests.
#include "fakes/fake_window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "app/scan_worker.h"
#include "scanner/scan_folders.h"
#include "app/controls.h"

FakeWindow::FakeWindow() {
  controls_[IDC_LOAD].enabled = true;
  controls_[IDC_KNOWN_COUNTER].text = "0 (0)";
  controls_[IDC_HAVE_COUNTER].text = "0";
  controls_[IDC_MISS_COUNTER].text = "0";
  controls_[IDC_SHOW_ALL].checked = true;
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
  for (int id : {IDC_SHOW_ALL, IDC_SHOW_HAVE, IDC_SHOW_MISS})
    controls_[id].checked = id == radio_id;
}

void FakeWindow::SendScanFinished() {
  {
    auto lock = Lock();
    ++scan_finished_;
    Record("scan-finished", "");
  }
  OnScanFinished(*this);
}
