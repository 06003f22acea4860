#include "engine/diag/crash_report.h"

#include <cxxabi.h>
#include <dirent.h>
#include <dlfcn.h>
#include <elfutils/libdwfl.h>
#include <execinfo.h>
#include <fcntl.h>
#include <setjmp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>

#include "engine/diag/signal_safe_text.h"

extern char** environ;

namespace Nimbra::Lexora {
namespace {

// Read inside the handler: initial-exec TLS never allocates on access.
thread_local __attribute__((tls_model("initial-exec"))) sigjmp_buf* t_reportAbort = nullptr;

char g_moduleName[256];

const char* FindEnvironment(const char* name) {
  size_t length = std::strlen(name);
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, name, length) == 0 && (*entry)[length] == '=') {
      return *entry + length + 1;
    }
  }
  return nullptr;
}

// The executable's directory with its slash, or LEXORA_DUMP_DIR; empty when
// neither can be had.
void AddReportDirectory(SignalSafeText& out) {
  const char* chosen = FindEnvironment("LEXORA_DUMP_DIR");
  if (chosen != nullptr && *chosen != 0) {
    out.Add(chosen);
    if (chosen[std::strlen(chosen) - 1] != '/') out.Add("/");
    return;
  }
  char exe[SignalSafeText::kCapacity];
  ssize_t length = readlink("/proc/self/exe", exe, sizeof exe);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof exe) return;
  while (length > 0 && exe[length - 1] != '/') --length;
  out.Add(exe, static_cast<size_t>(length));
}

uintptr_t ContextPc(const void* context) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#else
  (void)uc;
  return 0;
#endif
}

void AddRegisters(SignalSafeText& out, int fd, const void* context) {
  out.Add("registers:\n");
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  static constexpr struct {
    const char* name;
    int index;
  } kRegisters[] = {{"rax", REG_RAX}, {"rbx", REG_RBX},   {"rcx", REG_RCX}, {"rdx", REG_RDX},
                    {"rsi", REG_RSI}, {"rdi", REG_RDI},   {"rbp", REG_RBP}, {"rsp", REG_RSP},
                    {"r8", REG_R8},   {"r9", REG_R9},     {"r10", REG_R10}, {"r11", REG_R11},
                    {"r12", REG_R12}, {"r13", REG_R13},   {"r14", REG_R14}, {"r15", REG_R15},
                    {"rip", REG_RIP}, {"eflags", REG_EFL}};
  for (const auto& reg : kRegisters) {
    out.Add("  ")
        .Add(reg.name)
        .Add(" 0x")
        .Hex(static_cast<uint64_t>(uc->uc_mcontext.gregs[reg.index]), 16)
        .Add("\n");
    out.FlushTo(fd);
  }
#elif defined(__aarch64__)
  for (int i = 0; i < 31; ++i) {
    out.Add("  x").Decimal(i).Add(" 0x").Hex(uc->uc_mcontext.regs[i], 16).Add("\n");
    out.FlushTo(fd);
  }
  out.Add("  sp 0x")
      .Hex(uc->uc_mcontext.sp, 16)
      .Add("\n  pc 0x")
      .Hex(uc->uc_mcontext.pc, 16)
      .Add("\n");
#else
  (void)uc;
  out.Add("  (not available on this processor)\n");
#endif
  out.FlushTo(fd);
}

void CopyFile(const char* path, int fd) {
  int in = open(path, O_RDONLY | O_CLOEXEC);
  if (in < 0) return;
  char chunk[512];
  ssize_t n;
  while ((n = read(in, chunk, sizeof chunk)) > 0) {
    if (write(fd, chunk, static_cast<size_t>(n)) != n) break;
  }
  close(in);
}

// The frames from the faulting instruction on, without the handler's own.
void TakeBacktrace(FaultRecord& record, uintptr_t pc) {
  record.frameCount = backtrace(record.frames, 64);
  for (int i = 0; i < record.frameCount; ++i) {
    if (reinterpret_cast<uintptr_t>(record.frames[i]) != pc) continue;
    std::memmove(record.frames, record.frames + i, sizeof(void*) * (record.frameCount - i));
    record.frameCount -= i;
    return;
  }
}

void WriteSections(const FaultRecord& record, int fd, const void* context, const char* operation) {
  SignalSafeText out;
  out.Add("Lexora crash report\nsignal: ").Decimal(record.signal).Add(" (");
  out.Add(sigdescr_np(record.signal)).Add(")\ncode: ").Decimal(record.code);
  out.Add("\naddress: 0x").Hex(record.address, 16).Add("\nthread: ").Decimal(record.thread);
  out.Add("\noperation: ").Add(operation).Add("\n");
  out.FlushTo(fd);
  AddRegisters(out, fd, context);
  out.Add("backtrace:\n");
  for (int i = 0; i < record.frameCount; ++i) {
    out.Add("  #").Decimal(i).Add(" 0x").Hex(reinterpret_cast<uintptr_t>(record.frames[i]), 16);
    out.Add("\n").FlushTo(fd);
  }
  out.Add("memory map:\n").FlushTo(fd);
  CopyFile("/proc/self/maps", fd);
}

std::string Demangled(const char* name) {
  int status = 0;
  char* plain = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  std::string text = status == 0 && plain != nullptr ? plain : name;
  std::free(plain);
  return text;
}

std::string SymbolisedBacktrace(const FaultRecord& record) {
  static const Dwfl_Callbacks kCallbacks = {dwfl_linux_proc_find_elf, dwfl_standard_find_debuginfo,
                                            nullptr, nullptr};
  std::string text = "symbolised backtrace:\n";
  Dwfl* dwfl = dwfl_begin(&kCallbacks);
  if (dwfl == nullptr) return text + "  (unavailable)\n";
  dwfl_linux_proc_report(dwfl, getpid());
  dwfl_report_end(dwfl, nullptr, nullptr);
  for (int i = 0; i < record.frameCount; ++i) {
    auto address = reinterpret_cast<Dwarf_Addr>(record.frames[i]);
    // A return address points past its call; the call's line is one before.
    Dwarf_Addr lookup = i == 0 ? address : address - 1;
    text += "  #" + std::to_string(i) + " ";
    Dwfl_Module* module = dwfl_addrmodule(dwfl, lookup);
    const char* name = module != nullptr ? dwfl_module_addrname(module, lookup) : nullptr;
    text += name != nullptr ? Demangled(name) : "??";
    Dwfl_Line* line = module != nullptr ? dwfl_module_getsrc(module, lookup) : nullptr;
    int lineNumber = 0;
    const char* file = line != nullptr
                           ? dwfl_lineinfo(line, nullptr, &lineNumber, nullptr, nullptr, nullptr)
                           : nullptr;
    if (file != nullptr) text += " at " + std::string(file) + ":" + std::to_string(lineNumber);
    text += "\n";
  }
  dwfl_end(dwfl);
  return text;
}

}  // namespace

void PrepareCrashReports() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&PrepareCrashReports), &info) != 0 &&
      info.dli_fname != nullptr) {
    const char* slash = std::strrchr(info.dli_fname, '/');
    const char* name = slash != nullptr ? slash + 1 : info.dli_fname;
    std::strncpy(g_moduleName, name, sizeof g_moduleName - 1);
  }
  // The first backtrace() loads the unwinder: never inside a handler.
  void* frame[1];
  backtrace(frame, 1);
}

void WriteCrashReport(FaultRecord& record, const siginfo_t* info, const void* context,
                      const char* operation) {
  record.signal = info->si_signo;
  record.code = info->si_code;
  record.address = reinterpret_cast<uintptr_t>(info->si_addr);
  record.thread = gettid();
  record.reportPath[0] = 0;
  TakeBacktrace(record, ContextPc(context));
  // Without the right to dump, the process's memory is not ours to write out.
  if (prctl(PR_GET_DUMPABLE) == 0) return;

  uint64_t now = static_cast<uint64_t>(time(nullptr));
  SignalSafeText path;
  AddReportDirectory(path);
  path.Add(g_moduleName).Add("_").Hex(now & 0xFFFFFFFFu, 8).Add("_").Hex(now >> 32, 4);
  path.Add("_").Hex(static_cast<uint32_t>(record.thread), 8).Add(".mdmp");
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  std::memcpy(record.reportPath, path.data(), std::min(path.size(), sizeof record.reportPath - 1));

  sigjmp_buf abort;
  t_reportAbort = &abort;
  if (sigsetjmp(abort, 0) == 0) WriteSections(record, fd, context, operation);
  t_reportAbort = nullptr;
  close(fd);
}

bool CrashReportInProgress() {
  return t_reportAbort != nullptr;
}

void AbandonCrashReport() {
  siglongjmp(*t_reportAbort, 1);
}

void FinishCrashReport(const FaultRecord& record) {
  if (record.reportPath[0] == 0) return;
  int fd = open(record.reportPath, O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd >= 0) {
    std::string text = SymbolisedBacktrace(record);
    [[maybe_unused]] ssize_t written = write(fd, text.data(), text.size());
    close(fd);
  }
  std::string path = record.reportPath;
  PruneCrashReports(path.substr(0, path.rfind('/') + 1), CrashReportModuleName());
}

void PruneCrashReports(const std::string& directory, const std::string& moduleName, size_t keep) {
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return;
  const std::string prefix = moduleName + "_";
  const std::string suffix = ".mdmp";
  std::map<uint32_t, std::string> byKey;
  while (const dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    struct stat facts {};
    if (stat((directory + name).c_str(), &facts) != 0 || !S_ISREG(facts.st_mode)) continue;
    const char* digits = name.c_str() + prefix.size();
    char* end = nullptr;
    unsigned long key = std::strtoul(digits, &end, 16);
    if (end == digits) continue;
    byKey.emplace(static_cast<uint32_t>(key & 0xFFFFFF), name);
  }
  closedir(dir);
  while (byKey.size() > keep) {
    unlink((directory + byKey.begin()->second).c_str());
    byKey.erase(byKey.begin());
  }
}

std::string CrashReportModuleName() {
  return g_moduleName;
}

}  // namespace Nimbra::Lexora
