#include "python/src/script.h"

#include <cstdint>
#include <new>
#include <stdexcept>

namespace lexora_python {
namespace {

// The engine's string streams count code units in 32 bits.
void CheckLength(const std::u16string& text) {
  if (text.size() > UINT32_MAX) throw std::length_error("text longer than 2**32 - 1 code units");
}

}  // namespace

Script::Script(const std::u16string& text, std::vector<std::u16string>& errors)
    : script_(CreateLXScript()), names_(std::make_shared<std::vector<std::u16string>>()) {
  if (!script_) throw std::bad_alloc();
  CheckLength(text);
  StreamHandle source(CreateStringStream(text.data(), static_cast<uint32_t>(text.size())));
  if (!source) throw std::bad_alloc();
  if (!script_->Compile(source.get())) {
    for (uint32_t i = 0; i < script_->GetErrorCount(); ++i)
      errors.emplace_back(script_->GetError(i));
    return;
  }
  for (uint32_t i = 0; i < script_->GetExpressionCount(); ++i) {
    uint32_t length = 0;
    script_->GetExpressionName(i, nullptr, &length);
    std::u16string name(length, u'\0');
    script_->GetExpressionName(i, name.data(), &length);
    name.resize(length > 0 ? length - 1 : 0);
    names_->push_back(std::move(name));
  }
}

ILXRunner& Script::RunnerOfThisThread() {
  std::lock_guard lock(mutex_);
  Handle<ILXRunner>& runner = runners_[std::this_thread::get_id()];
  if (!runner) runner.reset(script_->CreateRunner());
  if (!runner) throw std::bad_alloc();
  return *runner;
}

ScanResult Script::Scan(ILXStream& stream) {
  ILXRunner& runner = RunnerOfThisThread();
  if (!runner.Run(&stream)) throw ScanFailure{runner.GetErrorText()};
  ScanResult result;
  result.score = runner.GetScore();
  for (uint32_t i = 0; i < names_->size(); ++i) {
    Hit hit{i, 0, 0};
    if (runner.GetExpressionResult(i, &hit.hits, &hit.score) && hit.hits > 0) {
      result.hits.push_back(hit);
    }
  }
  result.report = runner.GetReport(false);
  result.quotedReport = runner.GetReport(true);
  result.names = names_;
  return result;
}

ScanResult Script::ScanText(const std::u16string& text) {
  CheckLength(text);
  StreamHandle stream(CreateStringStream(text.data(), static_cast<uint32_t>(text.size())));
  if (!stream) throw std::bad_alloc();
  return Scan(*stream);
}

ScanResult Script::ScanFile(const std::string& path, const std::string& encoding) {
  StreamHandle stream(CreateFileStreamWithEncoding(path.c_str(), encoding.c_str()));
  if (!stream) throw ScanFailure{u"cannot open"};
  return Scan(*stream);
}

std::vector<ScanOutcome> Script::ScanFiles(const std::vector<std::string>& paths,
                                           const std::string& encoding) {
  std::vector<ScanOutcome> outcomes;
  outcomes.reserve(paths.size());
  for (const std::string& path : paths) {
    try {
      outcomes.emplace_back(ScanFile(path, encoding));
    } catch (const ScanFailure& failure) {
      outcomes.emplace_back(failure);
    }
  }
  return outcomes;
}

}  // namespace lexora_python
