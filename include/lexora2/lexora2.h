// Lexora 2 engine: public interface for host programs.
//
// Wide text is UTF-16 as char16_t; narrow paths are UTF-8. Every object handed
// out carries one reference; the host calls Release once when done with it.
#ifndef LEXORA2_LEXORA2_H
#define LEXORA2_LEXORA2_H

#include <cstdint>

#if defined(__GNUC__)
#define LXAPI __attribute__((visibility("default")))
#else
#define LXAPI
#endif

struct LXVersionInfo {
  uint32_t major, minor, release, build;
};

class ILXObject {
 public:
  virtual void AddRef() = 0;
  virtual void Release() = 0;

 protected:
  ~ILXObject() = default;
};

class ILXStream : public ILXObject {
 public:
  // Copies up to count code units; returns how many, 0 at the end of input.
  virtual uint32_t Read(char16_t* buffer, uint32_t count) = 0;

 protected:
  ~ILXStream() = default;
};

class ILXRunner : public ILXObject {
 public:
  // Both return true when the log file could NOT be opened.
  virtual bool OpenLogFileW(const char16_t* path) = 0;
  virtual bool OpenLogFile(const char* path) = 0;
  virtual bool Run(ILXStream* stream) = 0;
  virtual int32_t GetScore() = 0;
  virtual const char16_t* GetReport(bool quoteTexts) = 0;
  virtual const char16_t* GetErrorText() = 0;
  virtual bool GetExpressionResult(uint32_t index, uint32_t* hits, int32_t* score) = 0;

 protected:
  ~ILXRunner() = default;
};

class ILXScript : public ILXObject {
 public:
  virtual uint32_t GetErrorCount() = 0;
  virtual const char16_t* GetError(uint32_t index) = 0;
  virtual bool Compile(ILXStream* stream) = 0;
  virtual ILXRunner* CreateRunner() = 0;
  virtual uint32_t GetExpressionCount() = 0;
  // length: in, the buffer's size in code units including the terminator;
  // out, the size needed (or 0 for an index out of range).
  virtual void GetExpressionName(uint32_t index, char16_t* buffer, uint32_t* length) = 0;

 protected:
  ~ILXScript() = default;
};

class ILXDebugger : public ILXObject {
 public:
  virtual void Run() = 0;

 protected:
  ~ILXDebugger() = default;
};

extern "C" {
LXAPI int32_t GetLXAPIVersion();
LXAPI LXVersionInfo* LXGetVersionInfo(LXVersionInfo* info);
LXAPI bool LXInitialize();
LXAPI void LXCleanUp();
LXAPI int32_t LXConvertLine(const char16_t* line, int32_t score, int32_t weighting,
                            char16_t* output, uint32_t* outputLength, char16_t* message,
                            uint32_t* messageLength);
LXAPI void LXEnableStats();
LXAPI void LXSetStatsNote();
LXAPI void LXWriteStats();
LXAPI ILXScript* CreateLXScript();
LXAPI ILXDebugger* CreateLXDebugger();
LXAPI ILXStream* CreateStringStream(const char16_t* text, uint32_t length);
LXAPI ILXStream* CreateStringCopyStream(const char16_t* text, uint32_t length);
LXAPI ILXStream* CreateFileStream(const char* path);
LXAPI ILXStream* CreateFileStreamU(const char16_t* path);
LXAPI ILXStream* CreateFileStreamWithEncoding(const char* path, const char* encoding);
LXAPI ILXStream* CreateFileStreamWithEncodingU(const char16_t* path, const char* encoding);
}

#endif  // LEXORA2_LEXORA2_H
