// The gateway's process-wide text log. The preview keeps it silent: lines
// of the stock scripts go there instead of into the report.
#ifndef LXPREVIEW_TEXT_LOG_H
#define LXPREVIEW_TEXT_LOG_H

#include <ostream>
#include <string>

class ILogging {
 public:
  virtual ~ILogging() = default;
  virtual void Log(unsigned level, const std::string& line) = 0;
};

// Records a line, to its echo stream, only when echo is on or the level is
// enabled.
class CTextLog : public ILogging {
 public:
  CTextLog(std::ostream& echo, bool echoOn, unsigned enabledLevels)
      : echo_(echo), echoOn_(echoOn), enabledLevels_(enabledLevels) {}
  void Log(unsigned level, const std::string& line) override;

 private:
  std::ostream& echo_;
  bool echoOn_;
  unsigned enabledLevels_;
};

// Created on first use with echo off and no level enabled, as the preview
// needs it.
ILogging& PreviewLog();

#endif  // LXPREVIEW_TEXT_LOG_H
