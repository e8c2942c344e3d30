// The progress bar's draws: at most one per interval, always the newest position, a held-back
// one drawn by the timer or before the worker's next call, 100 at once.
#include "app/progress_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

// Steps at times in ms, long after the bar was last drawn: "r P" the worker reports P (and wakes
// the UI thread when told to), "t" a timer tick, "f" a flush before a call; after each, the bar's
// position.
TEST(ProgressThrottle, DrawsTheNewestPositionAtMostOncePerInterval) {
  const std::tuple<unsigned, std::string, int> steps[] = {
      {1000, "r 1", 1},  // the first report wakes the UI thread, which draws it
      {1005, "r 2", 1},  // fast files: held back
      {1010, "r 3", 1},  //
      {1020, "t", 1},    // not yet an interval since the last draw
      {1030, "t", 3},    // a slow file now: the timer draws the newest held position
      {1035, "r 4", 3},  //
      {1036, "f", 4},    // a message or refresh: the bar catches up first
      {1040, "t", 4},    // nothing held: the timer stops
      {1045, "r 5", 4},  // no timer: the UI thread is woken, but the draw is not due yet
      {1075, "t", 5},    // the woken timer draws it
      {1105, "r 6", 6},  // an interval after the last draw: drawn at once
      {1106, "r 100", 100}};
  ProgressThrottle throttle;
  int shown = 0;
  bool timer = false;
  auto draw = [&](int position) { shown = position >= 0 ? position : shown; };
  for (const auto& [now, step, expected] : steps) {
    if (step[0] == 'r' && throttle.Report(std::stoi(step.substr(2)), now))
      timer = true, draw(throttle.Wake(now));
    if (step == "t" && timer) draw(throttle.Tick(now, &timer));
    if (step == "f") draw(throttle.Flush(now));
    EXPECT_EQ(expected, shown) << "at " << now << " after " << step;
  }
}
