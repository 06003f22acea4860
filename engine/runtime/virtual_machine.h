// The stack machine that runs a script's statement code once per scan over
// the positions the input analysis recorded.
//
// Trade-off: statements are not compiled to a tree or to native code; each
// runs once per scan, so the interpreter's cost is small beside the input
// analysis, and one loop keeps tracing and stepping (the debugger) simple.
#ifndef LEXORA_ENGINE_RUNTIME_VIRTUAL_MACHINE_H
#define LEXORA_ENGINE_RUNTIME_VIRTUAL_MACHINE_H

#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "engine/compiler/program.h"
#include "engine/runtime/span_index.h"
#include "engine/runtime/statement_blocks.h"
#include "engine/runtime/value.h"
#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

class VirtualMachine {
 public:
  // The program's statement blocks are worked out here: the program must
  // not change while the machine exists.
  explicit VirtualMachine(const Program& program) : program_(program), blocks_(program) {}

  // Before each scan: no spans, one fixed record per identifier of the
  // program, no temporaries, every hit counter 0. Storage is kept.
  void Reset();
  // The input analysis fills the fixed records between Reset and Execute.
  WordPositionList& positions() { return positions_; }
  const WordPositionList& positions() const { return positions_; }

  // Runs from address 0 to the end, tracing to `log` when it is not null.
  // Without a trace, statements that cannot count a hit are passed over.
  void Execute(FILE* log);
  // Executes one instruction; false when the end of the code was reached.
  bool Step(FILE* log);

  // After a scan that failed: no hits, no stored results, and the storage
  // of its positions freed, as before any scan.
  void DiscardResults();

  // A debugger shows every temporary after its statement: none is freed.
  void KeepTemporaries() { keepTemporaries_ = true; }

  uint32_t instructionPointer() const { return ip_; }
  std::span<const uint32_t> hits() const { return hits_; }
  // The statements whose counter is above 0, in the order they first counted.
  std::span<const uint32_t> triggered() const { return triggered_; }
  const std::vector<Value>& stack() const { return stack_; }
  const std::map<int32_t, Value>& storedResults() const { return stored_; }

 private:
  Value Pop();
  const Value& Top() const;
  void Positional(const Instruction& instruction, FILE* log);
  void Jump(uint32_t target);
  // At the end of a statement: frees the temporaries made since the last
  // one that neither the stack nor a stored result names. `stored` is the
  // value just stored, if any; what it names lives to the end of the scan.
  void ReleaseUnreadTemporaries(const Value* stored);

  const Program& program_;
  StatementBlocks blocks_;
  WordPositionList positions_;
  std::vector<Value> stack_;
  std::vector<uint32_t> hits_;
  std::vector<uint32_t> triggered_;
  std::map<int32_t, Value> stored_;
  uint32_t ip_ = 0;
  // Temporaries made since the last statement ended, and older ones that a
  // value on the stack still named then.
  std::vector<uint32_t> unsettled_;
  // Scratch storage of the positional operators and of the release, kept
  // between uses.
  SpanIndex right_;
  std::vector<Span> rightSpans_;
  std::vector<Span> result_;
  std::vector<uint32_t> named_;
  bool keepTemporaries_ = false;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_VIRTUAL_MACHINE_H
