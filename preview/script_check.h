// One converted script, compiled as a whole by the engine.
#ifndef LXPREVIEW_SCRIPT_CHECK_H
#define LXPREVIEW_SCRIPT_CHECK_H

#include <string>

class ILXScript;

class CScriptCheck {
 public:
  CScriptCheck();
  ~CScriptCheck();
  CScriptCheck(const CScriptCheck&) = delete;
  CScriptCheck& operator=(const CScriptCheck&) = delete;

  void AddLine(const std::u16string& line);
  // False when the script does not compile; errors then holds each of the
  // engine's messages followed by "\r\n".
  bool Compile(std::string& errors);

 private:
  ILXScript* script_;
  std::u16string text_;
};

#endif  // LXPREVIEW_SCRIPT_CHECK_H
