#include "bench/compare/process_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace lexora_compare {
namespace {

int64_t StatusKibibytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() &&
        line[key.size()] == ':') {
      return std::stoll(line.substr(key.size() + 1)) * 1024;
    }
  }
  return -1;
}

}  // namespace

int64_t HeapInUseBytes() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<int64_t>(info.uordblks + info.hblkhd);
}

int64_t ResidentBytes() {
  return StatusKibibytes("VmRSS");
}
int64_t PeakResidentBytes() {
  return StatusKibibytes("VmHWM");
}

bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear.good();
}

}  // namespace lexora_compare
