// progress_throttle.h: when the progress bar is drawn during a scan.
#pragma once

#include <cstdint>
#include <mutex>

// Drawing the bar costs the UI thread about a millisecond under Wine, and a scan of thousands of
// small zips moves it a percent every few milliseconds, faster than anyone can follow. So the
// bar is drawn at most every kProgressIntervalMs (100 at once), always with the newest
// position, and only ever by the UI thread: by a wake the worker sends when a draw is due, by a
// timer while a position is held back (a slow file after fast ones), and before the UI thread
// runs anything the worker asks of it. Times are milliseconds of one wrapping clock.
constexpr uint32_t kProgressIntervalMs = 30;

class ProgressThrottle {
 public:
  // The worker's report of position at now: true when it is to wake the UI thread, which then
  // calls Wake. A report is never lost: one not drawn now is held back for the timer.
  bool Report(int position, uint32_t now);

  // The UI thread's side; each returns the position to draw now, or -1 for none.
  // On the worker's wake: the timer runs from here on.
  int Wake(uint32_t now);
  // On the timer: *keep_timer false once nothing is held back, so an idle bar costs nothing.
  int Tick(uint32_t now, bool* keep_timer);
  // Before a call of the worker's is carried out, and at the scan's end: the bar catches up.
  int Flush(uint32_t now);

 private:
  int TakeIf(bool due, uint32_t now);

  std::mutex mutex_;
  int reported_ = 0, drawn_ = 0;  // the bar starts at 0
  uint32_t drawn_at_ = 0;
  bool wake_sent_ = false, timer_on_ = false;
};
