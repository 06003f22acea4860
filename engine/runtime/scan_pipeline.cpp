#include "engine/runtime/scan_pipeline.h"

#include "engine/runtime/stopwatch.h"

namespace Nimbra::Lexora {

void ScanPipeline::Analyse(ILXStream* stream, FILE* log) {
  machine_.Reset();
  Stopwatch watch;
  analyser_.Run(stream, machine_.positions());
  if (log) std::fprintf(log, "Analysing input time: %dms\n", watch.Milliseconds());
}

void ScanPipeline::Execute(FILE* log) {
  Stopwatch watch;
  machine_.Execute(log);
  if (log) {
    std::fprintf(log, "Execution time: %dms\n", watch.Milliseconds());
    std::fflush(log);
  }
}

}  // namespace Nimbra::Lexora
