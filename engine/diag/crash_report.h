// Crash reports: one text file per translated fault, named after the
// library with the time and the thread, in the host executable's directory
// (or LEXORA_DUMP_DIR). The part written inside the fault handler is
// async-signal-safe; symbolising the backtrace and pruning old reports wait
// until the handler has left.
#ifndef LEXORA_ENGINE_DIAG_CRASH_REPORT_H
#define LEXORA_ENGINE_DIAG_CRASH_REPORT_H

#include <sys/types.h>

#include <csignal>
#include <cstdint>
#include <string>

namespace Nimbra::Lexora {

inline constexpr size_t kReportsKept = 10;

struct FaultRecord {
  int signal = 0;
  int code = 0;
  uintptr_t address = 0;
  pid_t thread = 0;
  void* frames[64] = {};
  int frameCount = 0;
  // Empty when no report was written.
  char reportPath[1100] = {};
};

// Learns the library's file name and readies backtrace(); call outside any
// handler, before the first fault.
void PrepareCrashReports();

// Fills `record` from the fault and writes the report unless the process is
// not dumpable or the file cannot be created. Async-signal-safe. A second
// fault while writing ends the report, not the process.
void WriteCrashReport(FaultRecord& record, const siginfo_t* info, const void* context,
                      const char* operation);

// True while this thread writes a report; AbandonCrashReport then jumps back
// into the writer, which closes the file and returns.
bool CrashReportInProgress();
[[noreturn]] void AbandonCrashReport();

// Outside the handler: appends the symbolised backtrace to the report and
// prunes old reports.
void FinishCrashReport(const FaultRecord& record);

// Deletes the reports of `moduleName` in `directory` with the smallest keys
// while more than `keep` remain. A report's key is the hexadecimal time
// field after "<moduleName>_", low 24 bits; reports sharing a key count once.
void PruneCrashReports(const std::string& directory, const std::string& moduleName,
                       size_t keep = kReportsKept);

// The library's file name, which starts every report's name.
std::string CrashReportModuleName();

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DIAG_CRASH_REPORT_H
