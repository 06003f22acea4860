// Driving the debugger's console through pipes, in a scratch directory.
#ifndef LEXORA_TESTS_DEBUG_CONSOLE_SUPPORT_H
#define LEXORA_TESTS_DEBUG_CONSOLE_SUPPORT_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lexora_test {

// Makes a fresh directory the current one for the test and holds the
// debugger's files there; the previous directory returns afterwards.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `bytes` to `name` in the scratch directory.
  void WriteFile(const std::string& name, std::string_view bytes);
  // The file's text with each "<digits>ms" turned into "Nms".
  std::string ReadFile(const std::string& name) const;
  const std::filesystem::path& directory() const { return directory_; }

  // Runs one console session of a new debugger reading `input` from a
  // pipe; returns everything written to its standard output, with each
  // "<digits>ms" turned into "Nms" and the welcome's directory into
  // "{cwd}".
  std::string RunConsole(const std::string& input,
                         std::vector<std::string> firstCommands = {}) const;

 private:
  std::filesystem::path previous_;
  std::filesystem::path directory_;
};

}  // namespace lexora_test

#endif  // LEXORA_TESTS_DEBUG_CONSOLE_SUPPORT_H
