// The script object: compiles rule scripts and answers questions about the
// compiled expressions.
#ifndef LEXORA_ENGINE_API_SCRIPT_IMPL_H
#define LEXORA_ENGINE_API_SCRIPT_IMPL_H

#include <memory>
#include <string>
#include <vector>

#include "engine/base/lx_object.h"
#include "engine/compiler/compiled_script.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class LXScriptImpl : public LXInterfaceObject<ILXScript> {
 public:
  uint32_t GetErrorCount() override;
  const char16_t* GetError(uint32_t index) override;
  // A failed compilation keeps the previous compiled form.
  bool Compile(ILXStream* stream) override;
  ILXRunner* CreateRunner() override;
  uint32_t GetExpressionCount() override;
  void GetExpressionName(uint32_t index, char16_t* buffer, uint32_t* length) override;

  // Null until a compilation has succeeded.
  const std::shared_ptr<const CompiledScript>& compiled() const { return compiled_; }

 private:
  std::vector<std::u16string> errors_;
  // Shared with the runners made from it.
  std::shared_ptr<const CompiledScript> compiled_;
};

// How an expression is shown to a host: by number for an enciphered script,
// else by its text, with "[NAME=...] " in front when it has a name.
std::u16string ExpressionDisplayName(const CompiledScript& script, uint32_t index);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_API_SCRIPT_IMPL_H
