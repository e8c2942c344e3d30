// timing.h: wall-clock timing of a repeated workload, reported as the median repetition.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

inline double NowMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// The median of the values (the upper one of an even count); 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Runs setup (untimed) and then run (timed) reps times; the median time of run, in ms. The
// median rather than the best: a repetition that a neighbour's work slowed is outvoted, and a
// lucky one does not set the figure either.
template <typename Setup, typename Run>
double MedianMs(int reps, Setup setup, Run run) {
  std::vector<double> times;
  for (int i = 0; i < reps; ++i) {
    setup();
    double start = NowMs();
    run();
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

template <typename Run>
double MedianMs(int reps, Run run) {
  return MedianMs(
      reps, [] {}, run);
}

// Rates from a count or a byte total and a time in ms.
inline double PerSecond(double count, double ms) { return ms > 0 ? count * 1000.0 / ms : 0; }
inline double MegabytesPerSecond(double bytes, double ms) { return PerSecond(bytes / 1e6, ms); }

}  // namespace bench
