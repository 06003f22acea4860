// Repeated measurements reduced to median, minimum and maximum.
#ifndef LEXORA_BENCH_COMPARE_STATS_H
#define LEXORA_BENCH_COMPARE_STATS_H

#include <chrono>
#include <functional>
#include <vector>

namespace lexora_compare {

struct Stats {
  double median = 0, min = 0, max = 0;
  bool valid = false;
};

// Empty input gives an invalid (absent) figure.
Stats Summarise(std::vector<double> samples);

// Seconds taken by each of `runs` calls of `work`.
std::vector<double> TimeRuns(int runs, const std::function<void()>& work);

// Per-run seconds turned into MB/s for `bytes` of input (1 MB = 10^6 bytes).
std::vector<double> Throughputs(const std::vector<double>& seconds, double bytes);

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_STATS_H
