// The stages of a scan over one compiled program: the machine's reset, the
// input analysis, and the execution of the statement code. A runner performs
// them all; the debugger stops before the execution and steps the machine.
#ifndef LEXORA_ENGINE_RUNTIME_SCAN_PIPELINE_H
#define LEXORA_ENGINE_RUNTIME_SCAN_PIPELINE_H

#include <cstdio>

#include "engine/compiler/program.h"
#include "engine/compiler/word_data.h"
#include "engine/runtime/input_analyser.h"
#include "engine/runtime/virtual_machine.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class ScanPipeline {
 public:
  // Both must outlive the pipeline. The method is for tests to compare.
  ScanPipeline(const Program& program, const WordData& words,
               WordFinder::Method method = WordFinder::Method::kFast)
      : machine_(program), analyser_(words, method) {}

  // Resets the machine and records where the stream's words and sequences
  // match; the machine then stands at address 0 with an empty stack. Logs
  // the time taken when `log` is not null.
  void Analyse(ILXStream* stream, FILE* log);
  // Runs the statement code to its end, tracing every instruction to `log`
  // and then logging the time taken, when `log` is not null.
  void Execute(FILE* log);

  VirtualMachine& machine() { return machine_; }
  const VirtualMachine& machine() const { return machine_; }

 private:
  VirtualMachine machine_;
  InputAnalyser analyser_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_SCAN_PIPELINE_H
