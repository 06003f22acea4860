// The runner: scans one input stream at a time with one compiled script and
// keeps the results of the last scan.
#ifndef LEXORA_ENGINE_API_RUNNER_IMPL_H
#define LEXORA_ENGINE_API_RUNNER_IMPL_H

#include <cstdio>
#include <memory>
#include <string>

#include "engine/base/lx_object.h"
#include "engine/compiler/compiled_script.h"
#include "engine/runtime/scan_pipeline.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class LXRunnerImpl : public LXInterfaceObject<ILXRunner> {
 public:
  // The runner shares the compiled form, so it stays valid even if the
  // script is compiled again or released first.
  explicit LXRunnerImpl(std::shared_ptr<const CompiledScript> script);
  ~LXRunnerImpl() override;

  bool OpenLogFileW(const char16_t* path) override;
  bool OpenLogFile(const char* path) override;
  bool Run(ILXStream* stream) override;
  int32_t GetScore() override;
  const char16_t* GetReport(bool quoteTexts) override;
  const char16_t* GetErrorText() override;
  bool GetExpressionResult(uint32_t index, uint32_t* hits, int32_t* score) override;

 private:
  void CloseLog();
  [[gnu::noinline]] bool StoreScore(uint32_t index, uint32_t counted, int32_t* score) const;

  std::shared_ptr<const CompiledScript> script_;
  ScanPipeline pipeline_;
  FILE* log_ = nullptr;
  std::u16string report_;
  bool reportQuoted_ = false;
  bool reportValid_ = false;
  std::u16string errorText_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_API_RUNNER_IMPL_H
