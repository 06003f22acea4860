// Runs lxpreview as a process over each gateway under cases/ and compares its
// whole output and exit code with the case's expected ones.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct ProcessResult {
  std::string output;
  int exitCode = -1;
};

// Runs the program in folder with arguments (shell words) and input on its
// standard input; standard error is taken with the output.
ProcessResult RunLxpreview(const std::string& folder, const std::string& arguments,
                           const std::string& input = "") {
  std::string command = "cd '" + folder + "' && printf '%s' '" + input + "' | " + LXPREVIEW_BINARY +
                        " " + arguments + " 2>&1";
  ProcessResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
  int status = pclose(pipe);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(LXPREVIEW_CASES_DIR)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class ReportCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ReportCase, PrintsTheExpectedReportAndExitCode) {
  fs::path folder = fs::path(LXPREVIEW_CASES_DIR) / GetParam();
  std::string arguments = "--registry registry.reg --drive C:=C --no-wait";
  if (fs::exists(folder / "arguments")) {
    arguments = FileText(folder / "arguments");
    arguments.erase(arguments.find_last_not_of('\n') + 1);
  }
  ProcessResult result = RunLxpreview(folder.string(), arguments);
  EXPECT_EQ(result.output, FileText(folder / "expected.txt"));
  EXPECT_EQ(std::to_string(result.exitCode) + "\n", FileText(folder / "exit_code"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(LxpreviewProcess, CommandLineMistakesAreUsageErrors) {
  for (const char* arguments :
       {"", "--registry", "--registry x.reg extra", "--registry x.reg --bogus", "--drive C:\\=x",
        "--registry x.reg --drive CC=x", "-r x.reg"}) {
    ProcessResult result = RunLxpreview(".", arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_NE(result.output.find("usage: lxpreview --registry FILE"), std::string::npos);
  }
  ProcessResult help = RunLxpreview(".", "--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.find("usage: lxpreview"), 0u);
}

TEST(LxpreviewProcess, WaitsForOneKeyOrTheEndOfInput) {
  fs::path folder = fs::path(LXPREVIEW_CASES_DIR) / "current_config_empty";
  for (const char* input : {"", "k", "keys"}) {
    ProcessResult result = RunLxpreview(folder.string(), "--registry registry.reg", input);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(
        result.output,
        "This preview tool must be run on the Vantorix host machine.\nPress any key to exit.\n");
  }
}

}  // namespace
