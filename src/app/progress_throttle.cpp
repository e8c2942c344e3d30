// progress_throttle.cpp: the progress bar's draws, between the scan worker and the UI thread.
#include "app/progress_throttle.h"

bool ProgressThrottle::Report(int position, uint32_t now) {
  std::lock_guard<std::mutex> lock(mutex_);
  reported_ = position;
  if (wake_sent_ || position == drawn_) return false;
  // Without a running timer a held position would wait for the next report, which a slow file
  // puts off for as long as it takes.
  wake_sent_ = !timer_on_ || position == 100 || now - drawn_at_ >= kProgressIntervalMs;
  return wake_sent_;
}

int ProgressThrottle::TakeIf(bool due, uint32_t now) {
  if (reported_ == drawn_) return -1;
  if (!due && reported_ != 100 && now - drawn_at_ < kProgressIntervalMs) return -1;
  drawn_at_ = now;
  return drawn_ = reported_;
}

int ProgressThrottle::Wake(uint32_t now) {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_sent_ = false, timer_on_ = true;
  return TakeIf(false, now);
}

int ProgressThrottle::Tick(uint32_t now, bool* keep_timer) {
  std::lock_guard<std::mutex> lock(mutex_);
  *keep_timer = timer_on_ = reported_ != drawn_;
  return TakeIf(false, now);
}

int ProgressThrottle::Flush(uint32_t now) {
  std::lock_guard<std::mutex> lock(mutex_);
  return TakeIf(true, now);
}
