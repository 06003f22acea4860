// Hardware faults inside guarded operations reach the caller as errors, leave
// a crash report, and leave the library usable; faults elsewhere stay the
// host's.
#include "engine/diag/fault_translation.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <barrier>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "engine/debug/debugger_impl.h"
#include "engine/diag/crash_report.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace lexora_test;

namespace {

enum class Fault { None, NullWrite, IntegerDivision, StackOverflow };

// Which guarded operation faults on this thread, and how.
thread_local const char* t_faultIn = nullptr;
thread_local Fault t_fault = Fault::None;
volatile bool g_neverTrue = false;

__attribute__((no_sanitize("undefined", "address"))) int Recurse(int depth) {
  volatile char pad[4096];
  pad[0] = static_cast<char>(depth);
  if (g_neverTrue) return 0;
  return Recurse(depth + 1) + pad[0];
}

// The sanitizers would catch these before the processor does.
__attribute__((no_sanitize("undefined", "address"))) void Commit(Fault fault) {
  switch (fault) {
    case Fault::NullWrite: {
      volatile int* volatile target = nullptr;
      *target = 1;
      break;
    }
    case Fault::IntegerDivision: {
      volatile int zero = 0;
      volatile int quotient = 1 / zero;
      (void)quotient;
      break;
    }
    case Fault::StackOverflow:
      Recurse(0);
      break;
    case Fault::None:
      break;
  }
}

}  // namespace

extern "C" void LexoraTestFaultHook(const char* operation) {
  if (t_faultIn == nullptr || std::strcmp(operation, t_faultIn) != 0) return;
  t_faultIn = nullptr;  // once: the retry must succeed
  Commit(t_fault);
}

namespace {

void FaultNext(const char* operation, Fault fault) {
  t_faultIn = operation;
  t_fault = fault;
}

std::vector<fs::path> Reports(const fs::path& directory) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.path().extension() == ".mdmp") found.push_back(entry.path());
  }
  return found;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A stream whose host code faults while the runner reads it.
class FaultingStream : public ILXStream {
 public:
  void AddRef() override {}
  void Release() override {}
  uint32_t Read(char16_t*, uint32_t) override {
    Commit(Fault::NullWrite);
    return 0;
  }
};

class FaultTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    dumps_ = fs::temp_directory_path() / ("lexora-dumps-" + std::to_string(getpid()));
    fs::create_directories(dumps_);
    setenv("LEXORA_DUMP_DIR", dumps_.c_str(), 1);
    script_ = CreateLXScript();
    ASSERT_TRUE(script_->Compile(StringStreamOf(u"free").get()));
    runner_ = script_->CreateRunner();
  }
  void TearDown() override {
    runner_->Release();
    script_->Release();
    unsetenv("LEXORA_DUMP_DIR");
    fs::remove_all(dumps_);
  }

  bool RunsCleanly() {
    StreamPtr text = StringStreamOf(u"free free");
    return runner_->Run(text.get()) && runner_->GetScore() == 10;
  }

  Initialized library_;
  fs::path dumps_;
  ILXScript* script_ = nullptr;
  ILXRunner* runner_ = nullptr;
};

TEST_F(FaultTranslation, EachGuardedOperationReportsTheFaultAndWorksAfterwards) {
  TempFile file("free text");

  FaultNext("CreateFileStream", Fault::NullWrite);
  EXPECT_EQ(CreateFileStream(file.path().c_str()), nullptr);
  ILXStream* opened = CreateFileStream(file.path().c_str());
  ASSERT_NE(opened, nullptr);
  opened->Release();

  FaultNext("Compile", Fault::NullWrite);
  ILXScript* script = CreateLXScript();
  EXPECT_FALSE(script->Compile(StringStreamOf(u"free").get()));
  ASSERT_EQ(script->GetErrorCount(), 1u);
  EXPECT_EQ(U8(script->GetError(0)), "Segmentation fault");
  EXPECT_TRUE(script->Compile(StringStreamOf(u"free").get()));
  script->Release();

  FaultNext("Run", Fault::NullWrite);
  StreamPtr text = StringStreamOf(u"free");
  EXPECT_FALSE(runner_->Run(text.get()));
  EXPECT_EQ(U8(runner_->GetErrorText()), "Segmentation fault");
  EXPECT_TRUE(RunsCleanly());

  // Reports of one thread within one second share a name: the last stays.
  EXPECT_FALSE(Reports(dumps_).empty());
}

// The debugger's console ends its Run with the fault's text, as for any
// engine error escaping it, and the next Run starts afresh.
TEST_F(FaultTranslation, TheDebuggersRunPrintsTheFaultAndRunsAgain) {
  auto console = [](bool fault) {
    if (fault) FaultNext("Debugger", Fault::NullWrite);
    char commands[] = "quit\n";
    FILE* in = fmemopen(commands, sizeof commands - 1, "r");
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    auto* debugger = new Nimbra::Lexora::LXDebuggerImpl(in, out);
    debugger->Run();
    debugger->Release();
    std::fclose(in);
    std::fclose(out);
    std::string printed(text, size);
    std::free(text);
    return printed;
  };
  EXPECT_EQ(console(true), "Segmentation fault\n");
  EXPECT_EQ(console(false).rfind("Welcome to LXD\n", 0), 0u);
}

TEST_F(FaultTranslation, IntegerDivisionAndStackOverflowAreTranslated) {
  FaultNext("Run", Fault::IntegerDivision);
  StreamPtr text = StringStreamOf(u"free");
  EXPECT_FALSE(runner_->Run(text.get()));
  EXPECT_EQ(U8(runner_->GetErrorText()), "Floating point exception");

  FaultNext("Run", Fault::StackOverflow);
  EXPECT_FALSE(runner_->Run(text.get()));
  EXPECT_EQ(U8(runner_->GetErrorText()), "Segmentation fault");
  EXPECT_TRUE(RunsCleanly());
}

TEST_F(FaultTranslation, AFaultInTheHostsStreamDuringRunIsTranslated) {
  FaultingStream stream;
  EXPECT_FALSE(runner_->Run(&stream));
  EXPECT_EQ(U8(runner_->GetErrorText()), "Segmentation fault");
  EXPECT_TRUE(RunsCleanly());
}

TEST_F(FaultTranslation, TheReportIsNamedAfterTheModuleTimeAndThread) {
  FaultNext("Run", Fault::NullWrite);
  StreamPtr text = StringStreamOf(u"free");
  ASSERT_FALSE(runner_->Run(text.get()));
  std::vector<fs::path> reports = Reports(dumps_);
  ASSERT_EQ(reports.size(), 1u);
  std::string name = reports[0].filename();
  std::smatch parts;
  ASSERT_TRUE(std::regex_match(name, parts,
                               std::regex("(.+)_([0-9a-f]{8})_([0-9a-f]{4})_([0-9a-f]{8})\\.mdmp")))
      << name;
  EXPECT_EQ(parts[1].str(), Nimbra::Lexora::CrashReportModuleName());
  EXPECT_EQ(std::stoul(parts[4].str(), nullptr, 16), static_cast<unsigned long>(gettid()));

  std::string report = Slurp(reports[0]);
  for (const char* section : {"signal: 11 (Segmentation fault)", "address: 0x0000000000000000",
                              "operation: Run", "registers:", "backtrace:", "memory map:",
                              "symbolised backtrace:", "LexoraTestFaultHook"}) {
    EXPECT_NE(report.find(section), std::string::npos) << section;
  }
}

TEST_F(FaultTranslation, TwoThreadsFaultingAtOnceWriteTwoReports) {
  ILXRunner* second = script_->CreateRunner();
  std::barrier meet(2);
  std::atomic<int> translated{0};
  auto scan = [&](ILXRunner* runner) {
    FaultNext("Run", Fault::NullWrite);
    StreamPtr text = StringStreamOf(u"free");
    meet.arrive_and_wait();
    if (!runner->Run(text.get()) && U8(runner->GetErrorText()) == "Segmentation fault")
      ++translated;
  };
  std::thread a(scan, runner_);
  std::thread b(scan, second);
  a.join();
  b.join();
  second->Release();
  EXPECT_EQ(translated, 2);
  EXPECT_EQ(Reports(dumps_).size(), 2u);
}

TEST_F(FaultTranslation, ANonDumpableProcessGetsTheErrorButNoReport) {
  ASSERT_EQ(prctl(PR_SET_DUMPABLE, 0), 0);
  FaultNext("Run", Fault::NullWrite);
  StreamPtr text = StringStreamOf(u"free");
  EXPECT_FALSE(runner_->Run(text.get()));
  prctl(PR_SET_DUMPABLE, 1);
  EXPECT_EQ(U8(runner_->GetErrorText()), "Segmentation fault");
  EXPECT_TRUE(Reports(dumps_).empty());
}

TEST_F(FaultTranslation, ANewReportPrunesTheOldestBeyondTen) {
  const std::string module = Nimbra::Lexora::CrashReportModuleName();
  for (int key = 1; key <= 10; ++key) {
    char name[64];
    std::snprintf(name, sizeof name, "_%08x_0000_00000001.mdmp", key);
    std::ofstream(dumps_ / (module + name)) << "old";
  }
  FaultNext("Run", Fault::NullWrite);
  StreamPtr text = StringStreamOf(u"free");
  ASSERT_FALSE(runner_->Run(text.get()));
  EXPECT_EQ(Reports(dumps_).size(), 10u);
  EXPECT_FALSE(fs::exists(dumps_ / (module + "_00000001_0000_00000001.mdmp")));
  EXPECT_TRUE(fs::exists(dumps_ / (module + "_00000002_0000_00000001.mdmp")));
}

TEST(CrashReportPruning, KeepsTheTenLargestKeysOfTheModuleOnly) {
  fs::path dir = fs::temp_directory_path() / ("lexora-prune-" + std::to_string(getpid()));
  fs::create_directories(dir / "mod_00000005_0000_00000001.mdmp");  // a directory: never listed
  auto touch = [&](const std::string& name) { std::ofstream(dir / name) << "x"; };
  for (int key = 0; key < 11; ++key) {
    char name[64];
    // Keys keep their low 24 bits: 0x7000000 + n sorts as n.
    std::snprintf(name, sizeof name, "mod_%08x_0000_00000001.mdmp", 0x7000000 + key * 3);
    touch(name);
  }
  touch("other_00000000_0000_00000001.mdmp");
  touch("mod_notes.txt");
  Nimbra::Lexora::PruneCrashReports(dir.string() + "/", "mod");
  EXPECT_FALSE(fs::exists(dir / "mod_07000000_0000_00000001.mdmp"));
  EXPECT_TRUE(fs::exists(dir / "mod_07000003_0000_00000001.mdmp"));
  EXPECT_TRUE(fs::exists(dir / "mod_0700001e_0000_00000001.mdmp"));
  EXPECT_TRUE(fs::exists(dir / "other_00000000_0000_00000001.mdmp"));
  EXPECT_TRUE(fs::exists(dir / "mod_notes.txt"));
  EXPECT_TRUE(fs::is_directory(dir / "mod_00000005_0000_00000001.mdmp"));
  fs::remove_all(dir);
}

// Runs `body` in a child process and returns its wait status.
template <class Body>
int InChild(Body body) {
  pid_t child = fork();
  if (child == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

void HostHandler(int) {
  _exit(42);
}

TEST(FaultsOutsideGuards, ReachTheHandlerTheHostInstalledFirst) {
  int status = InChild([] {
    signal(SIGSEGV, HostHandler);
    LXInitialize();
    Commit(Fault::NullWrite);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 42);
}

TEST(FaultsOutsideGuards, TakeTheDefaultActionWithoutAHostHandler) {
  int status = InChild([] {
    signal(SIGFPE, SIG_DFL);  // a sanitizer's handler would stand in for the host's
    LXInitialize();
    Commit(Fault::IntegerDivision);
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGFPE);
}

TEST(FaultsOutsideGuards, CleaningUpToZeroPutsTheHostsHandlerBack) {
  int status = InChild([] {
    signal(SIGSEGV, HostHandler);
    LXInitialize();
    LXInitialize();
    LXCleanUp();
    struct sigaction current {};
    sigaction(SIGSEGV, nullptr, &current);
    if (current.sa_handler == HostHandler) _exit(1);  // still ours while initialised
    LXCleanUp();
    sigaction(SIGSEGV, nullptr, &current);
    _exit(current.sa_handler == HostHandler ? 7 : 2);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
