// lexora scan: scans files with one compiled script, on several threads.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/base/utf.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/json_text.h"
#include "tools/lexora/mail_arguments.h"
#include "tools/mail/mail_reader.h"

namespace lexora_cli {
namespace {

using Nimbra::Lexora::Utf16ToUtf8;

struct ScanOptions {
  std::string script;
  std::vector<std::string> inputs;
  std::string encoding;
  std::string log;
  std::string filesFrom;
  bool quote = false;
  bool json = false;
  MailArguments mail;
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
};

struct ExpressionHit {
  uint32_t index;
  uint32_t hits;
  int32_t score;
};

// The result of one scanned text: a file, or one message of it with --mail.
struct FileResult {
  std::string label;
  bool ok = false;
  std::string error;
  int32_t score = 0;
  std::string report;
  std::vector<ExpressionHit> hits;
};

// Appends the names listed one per line in `path` ("-": standard input).
bool ReadFileList(const std::string& path, std::vector<std::string>& inputs) {
  std::ifstream file;
  if (path != "-") {
    file.open(path);
    if (!file) return false;
  }
  std::istream& in = path == "-" ? std::cin : file;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) inputs.push_back(line);
  }
  return !in.bad();
}

std::optional<ScanOptions> ParseOptions(const Arguments& args, std::string& problem) {
  ScanOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* name) -> const std::string* {
      if (i + 1 == args.size()) {
        problem = std::string(name) + " needs a value";
        return nullptr;
      }
      return &args[++i];
    };
    if (TakeMailArgument(args, i, o.mail, problem)) {
      if (!problem.empty()) return std::nullopt;
    } else if (a == "--encoding" || a == "--log" || a == "--files-from" || a == "-j") {
      const std::string* v = value(a.c_str());
      if (!v) return std::nullopt;
      if (a == "--encoding") o.encoding = *v;
      if (a == "--log") o.log = *v;
      if (a == "--files-from") o.filesFrom = *v;
      if (a == "-j") {
        try {
          int n = std::stoi(*v);
          if (n < 1 || n > 256) throw std::out_of_range("threads");
          o.threads = static_cast<unsigned>(n);
        } catch (const std::exception&) {
          problem = "-j needs a number from 1 to 256";
          return std::nullopt;
        }
      }
    } else if (a == "--quote") {
      o.quote = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (!a.empty() && a[0] == '-') {
      problem = "unknown option " + a;
      return std::nullopt;
    } else if (o.script.empty()) {
      o.script = a;
    } else {
      o.inputs.push_back(a);
    }
  }
  if (!o.filesFrom.empty() && !ReadFileList(o.filesFrom, o.inputs)) {
    problem = "cannot read the file list " + o.filesFrom;
    return std::nullopt;
  }
  if (o.script.empty() || (o.inputs.empty() && o.filesFrom.empty())) {
    problem = "needs a script and at least one file or directory";
    return std::nullopt;
  }
  problem = MailArgumentsProblem(o.mail, o.encoding);
  if (!problem.empty()) return std::nullopt;
  if (!o.log.empty()) o.threads = 1;  // one log file belongs to one runner
  return o;
}

// The files to scan, in the order given; directories in name order.
std::vector<std::string> CollectFiles(const std::vector<std::string>& inputs) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  for (const std::string& input : inputs) {
    std::error_code ec;
    if (!fs::is_directory(input, ec)) {
      files.push_back(input);
      continue;
    }
    std::vector<std::string> found;
    for (fs::recursive_directory_iterator
             it(input, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
      if (it->is_regular_file(ec)) found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

FileResult ScanStream(ILXRunner& runner, uint32_t expressions, ILXStream* stream,
                      const ScanOptions& o) {
  FileResult r;
  if (!runner.Run(stream)) {
    r.error = Utf16ToUtf8(runner.GetErrorText());
    return r;
  }
  r.ok = true;
  r.score = runner.GetScore();
  r.report = Utf16ToUtf8(runner.GetReport(o.quote));
  for (uint32_t i = 0; i < expressions; ++i) {
    ExpressionHit h{i, 0, 0};
    if (runner.GetExpressionResult(i, &h.hits, &h.score) && h.hits > 0) r.hits.push_back(h);
  }
  return r;
}

// One result for a file; with --mail one per message, an mbox giving several.
std::vector<FileResult> ScanFile(ILXRunner& runner, uint32_t expressions, const std::string& path,
                                 const ScanOptions& o) {
  std::vector<FileResult> results;
  if (!o.mail.mail) {
    StreamHandle stream(CreateFileStreamWithEncoding(path.c_str(), o.encoding.c_str()));
    FileResult& r = results.emplace_back();
    if (stream) {
      r = ScanStream(runner, expressions, stream.get(), o);
    } else {
      r.error = "cannot open";
    }
    r.label = path;
    return results;
  }
  lexora_mail::ReadMailFile(path, o.mail.options, [&](lexora_mail::MailMessage&& message) {
    FileResult& r = results.emplace_back();
    if (message.ok) {
      StreamHandle stream(
          CreateStringStream(message.text.data(), static_cast<uint32_t>(message.text.size())));
      r = ScanStream(runner, expressions, stream.get(), o);
    } else {
      r.error = message.error;
    }
    r.label = std::move(message.label);
  });
  return results;
}

void PrintText(const FileResult& r) {
  const std::string& file = r.label;
  if (!r.ok) {
    std::fprintf(stderr, "%s: error: %s\n", file.c_str(), r.error.c_str());
    return;
  }
  std::printf("%s: score %d\n", file.c_str(), r.score);
  size_t start = 0;
  while (start < r.report.size()) {
    size_t end = r.report.find("\r\n", start);
    if (end == std::string::npos) end = r.report.size();
    std::printf("  %s\n", r.report.substr(start, end - start).c_str());
    start = end + 2;
  }
}

void PrintJson(const FileResult& r, const std::vector<std::string>& names) {
  std::string line = "{\"file\":" + JsonString(r.label);
  if (r.ok) {
    line += ",\"score\":" + std::to_string(r.score) + ",\"expressions\":[";
    for (size_t k = 0; k < r.hits.size(); ++k) {
      const ExpressionHit& h = r.hits[k];
      if (k) line += ",";
      line += "{\"index\":" + std::to_string(h.index) + ",\"name\":" + JsonString(names[h.index]) +
              ",\"hits\":" + std::to_string(h.hits) + ",\"score\":" + std::to_string(h.score) + "}";
    }
    line += "],\"error\":null}";
  } else {
    line += ",\"score\":null,\"expressions\":[],\"error\":" + JsonString(r.error) + "}";
  }
  std::printf("%s\n", line.c_str());
}

std::vector<std::string> ExpressionNames(ILXScript& script) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < script.GetExpressionCount(); ++i) {
    uint32_t length = 0;
    script.GetExpressionName(i, nullptr, &length);
    std::u16string name(length, u'\0');
    script.GetExpressionName(i, name.data(), &length);
    names.push_back(Utf16ToUtf8(name.c_str()));
  }
  return names;
}

// Shows "scanned/total" on a terminal's standard error line.
class Progress {
 public:
  explicit Progress(size_t total) : total_(total), shown_(total >= 20 && isatty(2)) {}
  void Update(size_t done) {
    if (!shown_) return;
    int width = 40;
    int filled = static_cast<int>(width * done / total_);
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
                 std::string(width - filled, ' ').c_str(), done, total_);
    if (done == total_) std::fputs("\n", stderr);
  }

 private:
  size_t total_;
  bool shown_;
};

}  // namespace

int RunScan(const Arguments& args) {
  std::string problem;
  std::optional<ScanOptions> options = ParseOptions(args, problem);
  if (!options) return UsageError("scan", problem);
  const ScanOptions& o = *options;
  std::string error;
  Handle<ILXScript> script = CompileScriptFile(o.script, error);
  if (!script) {
    std::fprintf(stderr, "%s: %s\n", o.script.c_str(), error.c_str());
    return 1;
  }
  if (script->GetErrorCount() > 0) {
    for (uint32_t i = 0; i < script->GetErrorCount(); ++i) {
      std::fprintf(stderr, "%s: %s\n", o.script.c_str(), Utf16ToUtf8(script->GetError(i)).c_str());
    }
    return 1;
  }
  std::vector<std::string> files = CollectFiles(o.inputs);
  std::vector<std::string> names = ExpressionNames(*script);
  uint32_t expressions = script->GetExpressionCount();
  std::vector<std::optional<std::vector<FileResult>>> results(files.size());
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<size_t> next{0};
  auto work = [&] {
    Handle<ILXRunner> runner(script->CreateRunner());
    if (runner && !o.log.empty() && runner->OpenLogFile(o.log.c_str())) {
      std::fprintf(stderr, "lexora scan: cannot open log file %s\n", o.log.c_str());
    }
    for (size_t i; (i = next++) < files.size();) {
      std::vector<FileResult> r;
      if (runner) {
        r = ScanFile(*runner, expressions, files[i], o);
      } else {
        r.emplace_back().error = "cannot create a runner";
        r.back().label = files[i];
      }
      std::lock_guard lock(mutex);
      results[i] = std::move(r);
      ready.notify_one();
    }
  };
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < std::min<size_t>(o.threads, std::max<size_t>(files.size(), 1)); ++t) {
    workers.emplace_back(work);
  }
  // Results are printed in input order as soon as each is ready.
  Progress progress(files.size());
  int status = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    std::vector<FileResult> fileResults;
    {
      std::unique_lock lock(mutex);
      ready.wait(lock, [&] { return results[i].has_value(); });
      fileResults = std::move(*results[i]);
      results[i].reset();
    }
    for (const FileResult& r : fileResults) {
      if (!r.ok) status = 1;
      if (o.json) {
        PrintJson(r, names);
      } else {
        PrintText(r);
      }
    }
    progress.Update(i + 1);
  }
  for (std::thread& t : workers) t.join();
  return status;
}

}  // namespace lexora_cli
