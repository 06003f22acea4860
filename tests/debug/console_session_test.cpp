// The debugger's console, driven through pipes: each session is a command
// sequence with the exact text it must print.
#include <string>

#include "debug/console_support.h"
#include "test_support.h"

namespace lexora_test {
namespace {

// Statement 0 at 0-3, statement 1 at 4-7, statement 2 at 8-c.
constexpr const char* kScript =
    "[NAME=Pet] cat OR dog\n"
    "cat NEAR=2 food\n"
    "[SCORE=5] [@Pet] AND bird\n";
// Words: my 1, cat 2, likes 3, food 4, and 5, a 6, bird 7.
constexpr const char* kText = "my cat likes food and a bird\n";

constexpr const char* kWelcome = "Welcome to LXD\ncwd: {cwd}\n";

struct Session {
  const char* name;
  std::string input;
  std::string output;  // after the welcome
};

class ConsoleSessionTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    WriteFile("rules.lx", kScript);
    WriteFile("mail.txt", kText);
    WriteFile("bad.lx", "cat AND\n");
    WriteFile("bird.lx", "bird\n");
    WriteFile("binary.bin", std::string("\x00\x01\xfe\xff\x80garbage\x00\x1b[2J", 17));
  }
  Initialized initialized_;
};

void PrintTo(const Session& s, std::ostream* os) {
  *os << s.name;
}

const Session kSessions[] = {
    {"QuitAndExitEndTheConsole", "quit\nsym 0\n", ">>> "},
    {"EndOfInputEndsTheConsole", "", ">>> "},
    {"EmptyFirstLineIsAnEmptyCommand", "\nquit\n", ">>> Invalid cmd: \n>>> "},
    {"CommandsAreCaseSensitive", "QUIT\nLoad rules.lx\nexit\n",
     ">>> Invalid cmd: QUIT\n>>> Invalid cmd: Load\n>>> "},
    {"LoadReportsEachOutcome", "load missing.lx\nload bad.lx\nload rules.lx\n",
     ">>> Error: cannot open script <missing.lx>\n"
     ">>> Compiling script <bad.lx>...\nLine 1, column 8: Unexpected end-of-line\n"
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "},
    {"ScanNeedsAScriptAndAFile", "scan mail.txt\nload rules.lx\nscan missing.txt\nscan mail.txt\n",
     ">>> Error: no script loaded.\n"
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n"
     ">>> Error: cannot open script <missing.txt>\n"
     ">>> result=25. Nms\n\n>>> "},
    {"SteppingCommandsNeedARun", "c\nn\nk\nbp 0\nbd 0\nbl\nhits\nr mail.txt\n",
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n"
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n"
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n"
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n"
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n"
     ">>> >>> >>> No script loaded.\n>>> "},
    {"AFailedRunDiscardsThePreviousOne", "load rules.lx\nr mail.txt\nr missing.txt\nk\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n"
     ">>> >>> Error: cannot open script <missing.txt>\n"
     ">>> Error: no file being scanned.\nRun 'r <filename>'\n>>> "},
    {"SteppingTracesEachInstruction", "load rules.lx\nr mail.txt\nn\n\n\nk\nn\nk\nc\nn\nhits\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "
     ">>> 00000000:            .load 0\t# cat\n"
     ">>> 00000001:            .load 1\t# dog\n"
     ">>> 00000002:            .or\n"
     ">>> 000: {1, 0}  (top)\n"
     ">>> 00000003:            .st 0\t\t# cat OR dog\n"
     ">>> >>> Execution done.\n"
     ">>> Execution done.\n"
     ">>> \n\nExecute Context\n"
     "[*] stmt: 0, hits: 1\n    -> cat OR dog\n"
     "[*] stmt: 1, hits: 1\n    -> cat NEAR = 2 food\n"
     "[*] stmt: 2, hits: 1\n    -> [@Pet] AND bird\n>>> "},
    {"BreakpointRoundTrip",
     "load rules.lx\nr mail.txt\nbp 3\nbp a\nbl\nl 3 1\nc\nk\nc\nbd 3\nbd 3\nbl\nc\nhits\nscan "
     "mail.txt\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> >>> >>> "
     ">>> BP: 00000003\nBP: 0000000a\n"
     ">>> 00000003:            .break\n"
     ">>> Breakpoint hit.\n"
     ">>> 000: {1, 0}  (top)\n"
     ">>> Breakpoint hit.\n"
     ">>> >>> Error: 0000000a: Invalid breakpoint\n"
     ">>> BP: 0000000a\n"
     ">>> Execution done.\n"
     ">>> \n\nExecute Context\n"
     "[*] stmt: 0, hits: 1\n    -> cat OR dog\n"
     "[*] stmt: 1, hits: 1\n    -> cat NEAR = 2 food\n"
     "[*] stmt: 2, hits: 1\n    -> [@Pet] AND bird\n"
     ">>> result=25. Nms\n\n>>> "},
    {"BreakpointAtTheCurrentAddressIsHitBeforeItRuns",
     "load rules.lx\nr mail.txt\nbp 0\nc\nk\nn\nk\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> >>> "
     ">>> Breakpoint hit.\n>>> "
     ">>> 00000000:            .load 0\t# cat\n"
     ">>> 000: {2}  (top)\n>>> "},
    {"BreakpointsNeedAnAddressInsideTheCode",
     "load rules.lx\nr mail.txt\nbp d\nbp 0xc\nbp 100000000\nbp -1\nbp\nbp 1 2\nbd zz\nbl\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "
     ">>> Error: 00000000: Invalid address: 0000000d\n"
     ">>> >>> Error: Invalid number: 100000000\n"
     ">>> Error: Invalid number: -1\n"
     ">>> Error: Invalid number: \n"
     ">>> Error: Invalid number: 1 2\n"
     ">>> Error: Invalid number: zz\n"
     ">>> BP: 0000000c\n>>> "},
    {"SymbolsWithoutAndWithARun",
     "sym all\nload rules.lx\nsym all\nsym matched\nsym 2\nsym 99\nsym x\nsym\n"
     "r mail.txt\nsym matched\nsym 1\nsym 4\nc\nsym 4\nsym 4294967295\n",
     ">>> Error: no script loaded.\n"
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n"
     ">>> [0] cat\n[1] dog\n[2] food\n[3] bird\n"
     ">>> >>> [2] food\n"
     ">>> [99] <unknown>\n"
     ">>> Error: Invalid number: x\n"
     ">>> Error: Invalid number: \n"
     ">>> >>> [0] cat: {2}\n[2] food: {4}\n[3] bird: {7}\n"
     ">>> [1] dog: null\n"
     ">>> [4] <unknown>: null\n"
     ">>> Execution done.\n"
     ">>> [4] <unknown>: {(2, 4)}\n"
     ">>> [4294967295] <unknown>: null\n>>> "},
    {"StackCountLimitsTheEntries",
     "load rules.lx\nr mail.txt\nn\nn\nk 1\nk 0\nk 5\nk -1\nk 4294967296\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "
     ">>> 00000000:            .load 0\t# cat\n"
     ">>> 00000001:            .load 1\t# dog\n"
     ">>> 000: null  (top)\n"
     ">>> 000: null  (top)\n001: {2}\n"
     ">>> 000: null  (top)\n001: {2}\n"
     ">>> Error: Invalid number: -1\n"
     ">>> Error: Invalid number: 4294967296\n>>> "},
    {"ListingStartsAtTheRunAndContinuesOnARepeatedL",
     "dis\nload rules.lx\nl 0 2\nl\nl 3 1\n\nr mail.txt\nbp a\nc\nbd a\nsym 0\nl\n",
     ">>> Error: no script loaded.\n"
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n"
     ">>> 00000000:            .load 0\t# cat\n"
     "00000001:            .load 1\t# dog\n"
     ">>> 00000002:            .or\n"
     "00000003:            .st 0\t\t# cat OR dog\n"
     "00000003: -----------------------------------------------\n"
     "00000004:            .load 0\t# cat\n"
     "00000005:            .load 2\t# food\n"
     "00000006:            .near 2\n"
     "00000007:            .st 1\t\t# cat NEAR = 2 food\n"
     "00000007: -----------------------------------------------\n"
     "00000008:            .loadresult 0\t# @Pet\n"
     "00000009:            .jz L0\t# 0000000c\n"
     "0000000a:            .load 3\t# bird\n"
     "0000000b:            .and\n"
     "0000000c: L0:        .st 2\t\t# [@Pet] AND bird\n"
     "0000000c: -----------------------------------------------\n"
     ">>> 00000003:            .st 0\t\t# cat OR dog\n"
     "00000003: -----------------------------------------------\n"
     ">>> 00000003:            .st 0\t\t# cat OR dog\n"
     "00000003: -----------------------------------------------\n"
     ">>> >>> >>> Breakpoint hit.\n>>> >>> [0] cat: {2}\n"
     ">>> 0000000a:            .load 3\t# bird\n"
     "0000000b:            .and\n"
     "0000000c: L0:        .st 2\t\t# [@Pet] AND bird\n"
     "0000000c: -----------------------------------------------\n>>> "},
    {"DisListsWordsAndCode", "load bird.lx\ndis\n",
     ">>> Compiling script <bird.lx>...\nCompile time: Nms\n"
     ">>> .words\n[   0] bird\n.code\n"
     "00000000:            .load 0\t# bird\n"
     "00000001:            .st 0\t\t# bird\n"
     "00000001: -----------------------------------------------\n>>> "},
    {"LoadLeavesTheRunOfTheOldScript",
     "load rules.lx\nr mail.txt\nn\nload bird.lx\nk\nsym all\nl 0 1\nn\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "
     ">>> 00000000:            .load 0\t# cat\n"
     ">>> Compiling script <bird.lx>...\nCompile time: Nms\n"
     ">>> 000: {2}  (top)\n"
     ">>> [0] bird\n"
     ">>> 00000000:            .load 0\t# bird\n"
     ">>> 00000001:            .load 1\t# dog\n>>> "},
    {"EmptyLineRepeatsThePreviousLine", "load rules.lx\nr mail.txt\nn\n\nfoo\n\n",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> "
     ">>> 00000000:            .load 0\t# cat\n"
     ">>> 00000001:            .load 1\t# dog\n"
     ">>> Invalid cmd: foo\n>>> Invalid cmd: foo\n>>> "},
    {"LineEndsAreStrippedAndALastLineCounts", "load rules.lx\r\r\nsym   0",
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n>>> [0] cat\n>>> "},
    {"BinaryFilesAreReadAsText",
     "load binary.bin\nload rules.lx\nscan binary.bin\nr binary.bin\nc\n",
     ">>> Compiling script <binary.bin>...\n"
     "Line 1, column 19: Expecting ']'\n"
     ">>> Compiling script <rules.lx>...\nCompile time: Nms\n"
     ">>> result=0. Nms\n\n>>> >>> Execution done.\n>>> "},
};

class SessionTable : public ConsoleSessionTest, public ::testing::WithParamInterface<Session> {};

TEST_P(SessionTable, PrintsExactly) {
  EXPECT_EQ(RunConsole(GetParam().input), kWelcome + GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Console, SessionTable, ::testing::ValuesIn(kSessions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexora_test
