// A compiled rule script as Python sees it: compiled once, scanned from any
// number of threads, each thread with a runner of its own.
#ifndef LEXORA_PYTHON_SCRIPT_H
#define LEXORA_PYTHON_SCRIPT_H

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <variant>
#include <vector>

#include "lexora2/lexora2.h"
#include "tools/lexora/stream_handle.h"

namespace lexora_python {

using lexora_cli::Handle;
using lexora_cli::StreamHandle;

struct Hit {
  uint32_t index;
  uint32_t hits;
  int32_t score;
};

// What one scan found, kept apart from the runner that is reused by the
// thread's next scan.
struct ScanResult {
  int32_t score = 0;
  std::vector<Hit> hits;  // the statements with at least one hit
  std::u16string report;
  std::u16string quotedReport;
  std::shared_ptr<const std::vector<std::u16string>> names;  // of every statement
  std::string label;  // a mail message's, as `lexora scan --mail` names it; empty otherwise
};

// Why a scan did not complete: "cannot open" or the engine's message.
struct ScanFailure {
  std::u16string reason;
};

using ScanOutcome = std::variant<ScanResult, ScanFailure>;

class Script {
 public:
  // Compiles; on failure `errors` holds the engine's messages and the script
  // must not be scanned with.
  Script(const std::u16string& text, std::vector<std::u16string>& errors);
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  const std::vector<std::u16string>& expressions() const { return *names_; }

  // Each throws ScanFailure; the caller releases the GIL around them.
  ScanResult ScanText(const std::u16string& text);
  ScanResult ScanFile(const std::string& path, const std::string& encoding);
  // Scans the files in turn; a failure stays with its file.
  std::vector<ScanOutcome> ScanFiles(const std::vector<std::string>& paths,
                                     const std::string& encoding);

 private:
  ILXRunner& RunnerOfThisThread();
  ScanResult Scan(ILXStream& stream);

  Handle<ILXScript> script_;
  std::shared_ptr<std::vector<std::u16string>> names_;
  std::mutex mutex_;
  // Declared after the script: runners are released before it.
  std::unordered_map<std::thread::id, Handle<ILXRunner>> runners_;
};

}  // namespace lexora_python

#endif  // LEXORA_PYTHON_SCRIPT_H
