// Hardware faults (SIGSEGV, SIGBUS, SIGFPE, SIGILL) on a thread inside a
// guarded operation become a RuntimeError carrying the system's description
// of the signal, after a crash report is written; the library stays usable.
//
// The way back from the handler: the engine is built with
// -fnon-call-exceptions, so a fault in its own code is thrown from the
// handler and unwinds like any error: destructors run, nothing leaks. A
// fault in foreign code (a host's stream, ICU, the C library) may have no
// unwind entry at the faulting instruction, and a stack overflow leaves no
// stack to run destructors on; those jump back to the guard with
// siglongjmp, and what the frames in between owned is lost with them.
//
// A fault outside every guard, on any thread, goes to the handler that was
// installed before ours, or to the default action: the host's own crashes
// stay the host's.
#ifndef LEXORA_ENGINE_DIAG_FAULT_TRANSLATION_H
#define LEXORA_ENGINE_DIAG_FAULT_TRANSLATION_H

#include <setjmp.h>

#include <utility>

#include "engine/diag/crash_report.h"

// Defined only by the test suite, to fault inside each guarded operation.
// Hidden and weak: the shipped library resolves it to null at link time.
extern "C" __attribute__((weak, visibility("hidden"))) void LexoraTestFaultHook(
    const char* operation);

namespace Nimbra::Lexora {

// Installs the handlers process-wide on the first acquisition; the release
// that balances it puts back what was installed before, unless someone else
// has replaced our handlers since.
void AcquireFaultTranslation();
void ReleaseFaultTranslation();

// Thrown by the handler through code that unwinds from a fault.
struct TranslatedFault {};

// One guarded operation on this thread; scopes nest.
class FaultScope {
 public:
  explicit FaultScope(const char* operation);
  ~FaultScope();
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;

  sigjmp_buf& jump() { return jump_; }
  // Finishes the crash report and throws the fault's RuntimeError.
  [[noreturn]] void Raise();

 private:
  friend void OnFault(int signal, siginfo_t* info, void* context);
  void FinishReport();

  const char* operation_;
  FaultScope* outer_;
  FaultRecord record_;
  bool pending_ = false;
  sigjmp_buf jump_;
};

template <class Body>
decltype(auto) GuardFaults(const char* operation, Body&& body) {
  FaultScope scope(operation);
  // The handler blocks nothing (SA_NODEFER, empty mask), so the mask needs
  // no saving: that would cost a system call per operation.
  if (sigsetjmp(scope.jump(), 0) != 0) scope.Raise();
  try {
    if (LexoraTestFaultHook != nullptr) LexoraTestFaultHook(operation);
    return std::forward<Body>(body)();
  } catch (const TranslatedFault&) {
    scope.Raise();
  }
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DIAG_FAULT_TRANSLATION_H
