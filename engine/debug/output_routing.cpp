#include "engine/debug/output_routing.h"

namespace Nimbra::Lexora {

bool OutputRouting::OpenLog(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "w+");
  if (file == nullptr) return false;
  CloseLog();
  log_ = file;
  return true;
}

void OutputRouting::CloseLog() {
  if (log_) std::fclose(log_);
  log_ = nullptr;
}

void OutputRouting::Flush() {
  if (log_) std::fflush(log_);
  std::fflush(console_);
}

}  // namespace Nimbra::Lexora
