#include "engine/api/script_impl.h"

#include <algorithm>

#include "engine/api/runner_impl.h"
#include "engine/base/exceptions.h"
#include "engine/base/format.h"
#include "engine/diag/fault_translation.h"
#include "engine/language/script_compiler.h"

namespace Nimbra::Lexora {

uint32_t LXScriptImpl::GetErrorCount() {
  return static_cast<uint32_t>(errors_.size());
}

const char16_t* LXScriptImpl::GetError(uint32_t index) {
  return index < errors_.size() ? errors_[index].c_str() : u"";
}

bool LXScriptImpl::Compile(ILXStream* stream) {
  if (stream == nullptr) {
    errors_.assign(1, u"No script stream was supplied");
    return false;
  }
  Compilation compilation;
  try {
    compilation = GuardFaults("Compile", [&] { return CompileStream(stream); });
  } catch (const LXException& e) {
    compilation.errors.assign(1, e.message());
  }
  errors_ = std::move(compilation.errors);
  if (!compilation.script) return false;
  compiled_ = std::move(compilation.script);
  return true;
}

ILXRunner* LXScriptImpl::CreateRunner() {
  if (!compiled_) return nullptr;
  LXRunnerImpl* runner = new (std::nothrow) LXRunnerImpl(compiled_);
  return runner ? runner->AsInterface() : nullptr;
}

uint32_t LXScriptImpl::GetExpressionCount() {
  return compiled_ ? compiled_->program.statementCount() : 0;
}

std::u16string ExpressionDisplayName(const CompiledScript& script, uint32_t index) {
  if (script.numbered) return Format(u"Expression #%u", index + 1);
  const std::u16string& text = script.program.StatementText(index);
  const std::u16string& name = script.program.Options(index).name;
  if (name.empty()) return text;
  return u"[NAME=" + name + u"] " + text;
}

void LXScriptImpl::GetExpressionName(uint32_t index, char16_t* buffer, uint32_t* length) {
  if (length == nullptr) return;
  auto emptyAnswer = [&] {
    if (buffer != nullptr && *length >= 1) buffer[0] = 0;
  };
  if (index >= GetExpressionCount()) {
    emptyAnswer();
    *length = 0;
    return;
  }
  std::u16string name = ExpressionDisplayName(*compiled_, index);
  uint32_t needed = static_cast<uint32_t>(name.size() + 1);
  if (buffer != nullptr && name.size() < *length) {
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
  } else {
    emptyAnswer();
  }
  *length = needed;
}

}  // namespace Nimbra::Lexora
