// Elapsed milliseconds for the timings that scans and the debugger report.
#ifndef LEXORA_ENGINE_RUNTIME_STOPWATCH_H
#define LEXORA_ENGINE_RUNTIME_STOPWATCH_H

#include <chrono>
#include <cstdint>

namespace Nimbra::Lexora {

class Stopwatch {
 public:
  // Whole milliseconds since construction, truncated.
  int32_t Milliseconds() const {
    auto micros = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_);
    return static_cast<int32_t>(micros.count() / 1000);
  }

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point start_ = Clock::now();
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_STOPWATCH_H
