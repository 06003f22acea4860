// The console's input and output: the log file, the start-up file, the
// commands run first, over-long lines and long sessions.
#include <string>

#include "debug/console_support.h"
#include "test_support.h"

namespace lexora_test {
namespace {

constexpr const char* kWelcome = "Welcome to LXD\ncwd: {cwd}\n";
constexpr const char* kLoaded = "Compiling script <rules.lx>...\nCompile time: Nms\n";

class ConsoleIoTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    WriteFile("rules.lx", "[NAME=Pets] cat OR dog\n");
    WriteFile("mail.txt", "the dog barks at the cat\n");
  }
  Initialized initialized_;
};

TEST_F(ConsoleIoTest, LogTakesTheSinkTextAndTheConsoleKeepsTheRest) {
  std::string console = RunConsole(
      "log out.log\nload rules.lx\nsym 0\nr mail.txt\nn\nk\nhits\nbp 1\nbl\nfoo\n"
      "log no/such/dir/x.log\nl 0 1\nclose\nbl\n");
  EXPECT_EQ(console, std::string(kWelcome) +
                         ">>> >>> >>> [0] cat\n>>> >>> >>> 000: {6}  (top)\n"
                         ">>> \n\nExecute Context\n>>> >>> >>> >>> >>> >>> >>> BP: 00000001\n>>> ");
  EXPECT_EQ(ReadFile("out.log"), std::string(kLoaded) +
                                     "00000000:            .load 0\t# cat\n"
                                     "BP: 00000001\n"
                                     "Invalid cmd: foo\n"
                                     "Error: cannot open script <no/such/dir/x.log>\n"
                                     "00000000:            .load 0\t# cat\n");
}

TEST_F(ConsoleIoTest, ANewLogClosesThePreviousOne) {
  RunConsole("log first.log\nfoo\nlog second.log\nbar\n");
  EXPECT_EQ(ReadFile("first.log"), "Invalid cmd: foo\n");
  EXPECT_EQ(ReadFile("second.log"), "Invalid cmd: bar\n");
}

TEST_F(ConsoleIoTest, StartupFileRunsBeforeThePromptAndItsQuitEndsOnlyTheFile) {
  WriteFile(".lxd", "# set-up\n\nload rules.lx\r\nr mail.txt\nn\nquit\nload missing.lx\n");
  EXPECT_EQ(RunConsole("k\n"), std::string(kWelcome) + kLoaded +
                                   "00000000:            .load 0\t# cat\n"
                                   ">>> 000: {6}  (top)\n>>> ");
}

TEST_F(ConsoleIoTest, StartupCommandsAreNotRepeatedByAnEmptyLine) {
  WriteFile(".lxd", "foo\n");
  EXPECT_EQ(RunConsole("\n"), std::string(kWelcome) + "Invalid cmd: foo\n>>> Invalid cmd: \n>>> ");
}

TEST_F(ConsoleIoTest, FirstCommandsRunBeforeTheStartupFile) {
  WriteFile(".lxd", "n\n");
  EXPECT_EQ(RunConsole("quit\n", {"load rules.lx", "r mail.txt"}),
            std::string(kWelcome) + kLoaded + "00000000:            .load 0\t# cat\n>>> ");
}

TEST_F(ConsoleIoTest, OverLongLinesAreRefusedWhole) {
  const std::string longest(1023, 'x');
  std::string input = "foo\n" + std::string(1024, 'x') + "load rules.lx\n\n" + longest + "\r\n" +
                      std::string(5000, 'y') + "\r\r\n";
  EXPECT_EQ(RunConsole(input), std::string(kWelcome) +
                                   ">>> Invalid cmd: foo\n"
                                   ">>> Error: line longer than 1023 characters ignored\n"
                                   ">>> Invalid cmd: foo\n"
                                   ">>> Invalid cmd: " +
                                   longest +
                                   "\n"
                                   ">>> Error: line longer than 1023 characters ignored\n>>> ");
}

TEST_F(ConsoleIoTest, TenThousandCommandsInOneSession) {
  std::string input = "load rules.lx\nr mail.txt\n";
  for (int i = 0; i < 10000; ++i) input += i % 2 ? "n\n" : "k\n";
  std::string output = RunConsole(input);
  size_t prompts = 0;
  for (size_t at = 0; (at = output.find(">>> ", at)) != std::string::npos; at += 4) ++prompts;
  EXPECT_EQ(prompts, 10003u);
  EXPECT_TRUE(output.ends_with(">>> >>> Execution done.\n>>> "));
}

TEST_F(ConsoleIoTest, ADirectoryIsNoScript) {
  std::filesystem::create_directory(directory() / "folder");
  std::string output = RunConsole("load folder\nscan folder\n");
  EXPECT_EQ(output, std::string(kWelcome) +
                        ">>> Error: cannot open script <folder>\n"
                        ">>> Error: no script loaded.\n>>> ");
}

TEST(ConsoleUninitialisedTest, ReadingTextNeedsTheLibrary) {
  // The debugger itself is made and run without LXInitialize.
  ILXDebugger* debugger = CreateLXDebugger();
  ASSERT_NE(debugger, nullptr);
  debugger->AddRef();
  debugger->Release();
  debugger->Release();
}

class ConsoleWithoutLibraryTest : public ConsoleTest {};

TEST_F(ConsoleWithoutLibraryTest, CommandsThatReadTextSayTheLibraryIsNotInitialised) {
  WriteFile("rules.lx", "cat\n");
  EXPECT_EQ(
      RunConsole("load rules.lx\nbl\n"),
      std::string(kWelcome) + ">>> Error: Lexora library has not been initialized.\n>>> >>> ");
}

}  // namespace
}  // namespace lexora_test
