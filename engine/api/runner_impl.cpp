#include "engine/api/runner_impl.h"

#include "engine/base/exceptions.h"
#include "engine/base/utf.h"
#include "engine/diag/fault_translation.h"
#include "engine/runtime/scoring.h"

namespace Nimbra::Lexora {
LXRunnerImpl::LXRunnerImpl(std::shared_ptr<const CompiledScript> script)
    : script_(std::move(script)), pipeline_(script_->program, script_->words) {}

LXRunnerImpl::~LXRunnerImpl() {
  CloseLog();
}

void LXRunnerImpl::CloseLog() {
  if (log_) std::fclose(log_);
  log_ = nullptr;
}

bool LXRunnerImpl::OpenLogFile(const char* path) {
  CloseLog();
  if (path == nullptr) return true;
  log_ = std::fopen(path, "w+");
  return log_ == nullptr;
}

bool LXRunnerImpl::OpenLogFileW(const char16_t* path) {
  if (path == nullptr) {
    CloseLog();
    return true;
  }
  std::optional<std::string> narrow = Utf16PathToUtf8(std::u16string_view(path, Utf16Length(path)));
  if (!narrow) {
    CloseLog();
    return true;
  }
  return OpenLogFile(narrow->c_str());
}

bool LXRunnerImpl::Run(ILXStream* stream) {
  // A new scan makes any cached report stale.
  reportValid_ = false;
  if (stream == nullptr) {
    errorText_ = u"No input stream was supplied";
  } else {
    try {
      GuardFaults("Run", [&] {
        pipeline_.Analyse(stream, log_);
        pipeline_.Execute(log_);
      });
      return true;
    } catch (const LXException& e) {
      errorText_ = e.message();
    } catch (const std::exception& e) {
      errorText_ = Utf8ToUtf16(e.what());
    }
  }
  // A partial sum would pass for the text's score: a failed scan has none.
  pipeline_.machine().DiscardResults();
  return false;
}

int32_t LXRunnerImpl::GetScore() {
  const VirtualMachine& machine = pipeline_.machine();
  return TotalScore(script_->program, machine.hits(), machine.triggered());
}

const char16_t* LXRunnerImpl::GetReport(bool quoteTexts) {
  if (!reportValid_ || reportQuoted_ != quoteTexts) {
    report_ =
        BuildReport(script_->program, pipeline_.machine().hits(), quoteTexts, script_->numbered);
    reportQuoted_ = quoteTexts;
    reportValid_ = true;
  }
  return report_.c_str();
}

const char16_t* LXRunnerImpl::GetErrorText() {
  return errorText_.c_str();
}

bool LXRunnerImpl::GetExpressionResult(uint32_t index, uint32_t* hits, int32_t* score) {
  auto counters = pipeline_.machine().hits();
  if (index >= counters.size()) return false;
  const uint32_t counted = counters[index];
  if (hits) *hits = counted;
  if (score) {
    // Most statements of a script make no hit in a text: no options to read.
    if (counted != 0) return StoreScore(index, counted, score);
    *score = 0;
  }
  return true;
}

// Apart, and reached by a jump, so that a host reading every statement's
// counter after each text pays no call frame for the few that counted.
bool LXRunnerImpl::StoreScore(uint32_t index, uint32_t counted, int32_t* score) const {
  *score = ExpressionScore(script_->program.Options(index), counted);
  return true;
}

}  // namespace Nimbra::Lexora
