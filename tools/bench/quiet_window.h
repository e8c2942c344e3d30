// quiet_window.h: the main window as the benchmark needs it: the two path fields and the show
// filter answer, everything else is counted or dropped, so the figures are the core's own.
#pragma once

#include <string>

#include "app/controls.h"
#include "app/window.h"

namespace bench {

// Single-threaded use only: the benchmark calls the core on its own thread.
class QuietWindow : public Window {
 public:
  void SetPaths(const std::string& source, const std::string& dest) {
    source_ = source;
    dest_ = dest;
  }

  void EnableControl(int, bool) override {}
  void SetControlText(int, const char*) override {}
  int GetControlText(int id, char* out, int size) override {
    if (size <= 0) return 0;
    const std::string& text = id == IDC_SOURCE_FIELD ? source_
                              : id == IDC_DEST_FIELD ? dest_
                                                      : none_;
    int length =
        static_cast<int>(text.size()) < size - 1 ? static_cast<int>(text.size()) : size - 1;
    text.copy(out, static_cast<size_t>(length));
    out[length] = '\0';
    return length;
  }
  void SetTitle(const char*) override {}
  void SetRadio(int id, bool on) override {
    if (id == IDC_SHOW_ALL) show_all_ = on;
    if (id == IDC_SHOW_HAVE) show_have_ = on;
    if (id == IDC_SHOW_MISS) show_miss_ = on;
  }
  bool IsRadioOn(int id) override {
    return id == IDC_SHOW_ALL    ? show_all_
           : id == IDC_SHOW_HAVE ? show_have_
           : id == IDC_SHOW_MISS ? show_miss_
                                  : false;
  }
  void ClearList() override { rows_ = 0; }
  void AddListRow(const char*) override { ++rows_; }
  void EndListRows() override {}
  void SetProgress(int) override {}
  void ShowMessage(const char* text, const char*) override { message_ = text; }
  void SendScanFinished() override {}
  void RunOnUiThread(void (*task)()) override { task(); }

  int rows() const { return rows_; }
  // The last message box's text; cleared by TakeMessage.
  std::string TakeMessage() {
    std::string message;
    message.swap(message_);
    return message;
  }

 private:
  std::string source_, dest_, none_, message_;
  bool show_all_ = true, show_have_ = false, show_miss_ = false;
  int rows_ = 0;
};

}  // namespace bench
