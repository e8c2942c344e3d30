// window.cpp: the process-wide main window pointer and the idle title.
#include "app/window.h"

#include <cstdlib>

#include "app/controls.h"
#include "base/text.h"

static Window* g_main_window = nullptr;

void SetMainWindow(Window* window) { g_main_window = window; }

Window& MainWindow() {
  // Every caller runs after start-up has set the window; a missing one is a wiring fault.
  if (g_main_window == nullptr) std::abort();
  return *g_main_window;
}

void SelectShowAll(Window& window) {
  window.SetRadio(IDC_SHOW_ALL, true);
  window.SetRadio(IDC_SHOW_HAVE, false);
  window.SetRadio(IDC_SHOW_MISS, false);
}

void SetIdleTitle(Window& window) {
  char title[64];
  Format(title, TARNWICK_TITLE_FORMAT, kVersion);
  window.SetTitle(title);
}
