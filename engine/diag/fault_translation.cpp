#include "engine/diag/fault_translation.h"

#include <link.h>
#include <pthread.h>
#include <sys/mman.h>
#include <ucontext.h>

#include <cstring>
#include <mutex>

#include "engine/base/exceptions.h"
#include "engine/base/utf.h"

namespace Nimbra::Lexora {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

std::mutex g_installMutex;
int g_installCount = 0;
struct sigaction g_previous[kSignalCount];

// Our own executable segments: faults there unwind; elsewhere they jump.
struct CodeRange {
  uintptr_t begin, end;
};
CodeRange g_ownCode[8];
int g_ownCodeCount = 0;

// Read inside the handler: initial-exec TLS never allocates on access.
thread_local __attribute__((tls_model("initial-exec"))) FaultScope* t_innermost = nullptr;

// The lowest usable address of this thread's stack, learned once per thread.
thread_local uintptr_t t_stackLow = 0;

// Each thread that enters a guard gets an alternate signal stack, unless it
// has one already, so that a stack overflow can still be handled.
class AlternateStack {
 public:
  void Ensure() {
    if (checked_) return;
    checked_ = true;
    stack_t current{};
    if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
    void* memory = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    stack_t ours{memory, 0, kSize};
    if (sigaltstack(&ours, nullptr) != 0) {
      munmap(memory, kSize);
      return;
    }
    memory_ = memory;
  }
  ~AlternateStack() {
    if (memory_ == nullptr) return;
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && current.ss_sp == memory_) {
      stack_t off{nullptr, SS_DISABLE, 0};
      sigaltstack(&off, nullptr);
    }
    munmap(memory_, kSize);
  }

 private:
  static constexpr size_t kSize = 256 * 1024;
  bool checked_ = false;
  void* memory_ = nullptr;
};
thread_local AlternateStack t_alternateStack;

int FindOwnCode(dl_phdr_info* info, size_t, void*) {
  auto marker = reinterpret_cast<uintptr_t>(&AcquireFaultTranslation);
  bool ours = false;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
    if (segment.p_type == PT_LOAD && marker >= begin && marker < begin + segment.p_memsz)
      ours = true;
  }
  if (!ours) return 0;
  for (int i = 0; i < info->dlpi_phnum && g_ownCodeCount < 8; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X)) continue;
    uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
    g_ownCode[g_ownCodeCount++] = {begin, begin + segment.p_memsz};
  }
  return 1;
}

bool InOwnCode(uintptr_t pc) {
  for (int i = 0; i < g_ownCodeCount; ++i) {
    if (pc >= g_ownCode[i].begin && pc < g_ownCode[i].end) return true;
  }
  return false;
}

uintptr_t LowestStackAddress() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return 0;
  void* low = nullptr;
  size_t size = 0;
  pthread_attr_getstack(&attributes, &low, &size);
  pthread_attr_destroy(&attributes);
  return reinterpret_cast<uintptr_t>(low);
}

void ContextRegisters(const void* context, uintptr_t& pc, uintptr_t& sp) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  pc = static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
  sp = static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
  pc = uc->uc_mcontext.pc;
  sp = uc->uc_mcontext.sp;
#else
  (void)uc;
  pc = sp = 0;
#endif
}

// Near the low end of the stack, by the stack pointer or the address hit.
bool IsStackOverflow(uintptr_t address, uintptr_t sp) {
  constexpr uintptr_t kMargin = 64 * 1024;
  if (t_stackLow == 0) return false;
  return sp < t_stackLow + kMargin ||
         (address < t_stackLow + kMargin && address + 16 * kMargin > t_stackLow);
}

int IndexOf(int signal) {
  for (int i = 0; i < kSignalCount; ++i) {
    if (kSignals[i] == signal) return i;
  }
  return 0;
}

void PassOn(int signal, siginfo_t* info, void* context) {
  const struct sigaction& previous = g_previous[IndexOf(signal)];
  if (previous.sa_flags & SA_SIGINFO) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  if (previous.sa_handler == SIG_IGN && info->si_code <= 0) return;
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
    return;
  }
  // The default action: a real fault recurs on return and ends the process
  // with its own context; a sent signal is sent again.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigaction(signal, &fallback, nullptr);
  if (info->si_code <= 0) raise(signal);
}

}  // namespace

void OnFault(int signal, siginfo_t* info, void* context) {
  if (CrashReportInProgress()) AbandonCrashReport();
  FaultScope* scope = t_innermost;
  // Signals sent by kill() or raise() are no fault of ours.
  if (scope == nullptr || info->si_code <= 0) {
    PassOn(signal, info, context);
    return;
  }
  WriteCrashReport(scope->record_, info, context, scope->operation_);
  scope->pending_ = true;
  uintptr_t pc = 0;
  uintptr_t sp = 0;
  ContextRegisters(context, pc, sp);
  if (InOwnCode(pc) && !IsStackOverflow(scope->record_.address, sp)) throw TranslatedFault{};
  siglongjmp(scope->jump_, 1);
}

void AcquireFaultTranslation() {
  std::lock_guard lock(g_installMutex);
  if (g_installCount++ > 0) return;
  PrepareCrashReports();
  g_ownCodeCount = 0;
  dl_iterate_phdr(FindOwnCode, nullptr);
  struct sigaction ours {};
  ours.sa_sigaction = OnFault;
  // NODEFER lets a fault while writing the report reach us to end it.
  ours.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&ours.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &ours, &g_previous[i]);
}

void ReleaseFaultTranslation() {
  std::lock_guard lock(g_installMutex);
  if (g_installCount == 0 || --g_installCount > 0) return;
  for (int i = 0; i < kSignalCount; ++i) {
    struct sigaction current {};
    sigaction(kSignals[i], nullptr, &current);
    if ((current.sa_flags & SA_SIGINFO) && current.sa_sigaction == OnFault) {
      sigaction(kSignals[i], &g_previous[i], nullptr);
    }
  }
}

FaultScope::FaultScope(const char* operation) : operation_(operation), outer_(t_innermost) {
  t_alternateStack.Ensure();
  if (t_stackLow == 0) t_stackLow = LowestStackAddress();
  t_innermost = this;
}

FaultScope::~FaultScope() {
  t_innermost = outer_;
  // A fault swallowed by a catch-all inside the operation still gets its
  // report finished.
  if (pending_) FinishReport();
}

void FaultScope::FinishReport() {
  pending_ = false;
  FinishCrashReport(record_);
}

void FaultScope::Raise() {
  t_innermost = outer_;
  int signal = record_.signal;
  FinishReport();
  throw RuntimeError(u"%ls", Utf8ToUtf16(sigdescr_np(signal)));
}

}  // namespace Nimbra::Lexora
