#include "preview/text_log.h"

#include <iostream>

void CTextLog::Log(unsigned level, const std::string& line) {
  if (echoOn_ || (level & enabledLevels_) != 0) echo_ << line;
}

ILogging& PreviewLog() {
  static CTextLog log(std::cout, false, 0);
  return log;
}
