#include "bench/compare/stats.h"

#include <algorithm>

namespace lexora_compare {

Stats Summarise(std::vector<double> samples) {
  Stats s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  s.min = samples.front();
  s.max = samples.back();
  s.valid = true;
  return s;
}

std::vector<double> TimeRuns(int runs, const std::function<void()>& work) {
  std::vector<double> seconds;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    seconds.push_back(SecondsSince(start));
  }
  return seconds;
}

std::vector<double> Throughputs(const std::vector<double>& seconds, double bytes) {
  std::vector<double> mbps;
  for (double s : seconds) mbps.push_back(s > 0 ? bytes / s / 1e6 : 0);
  return mbps;
}

}  // namespace lexora_compare
