#include "debug/console_support.h"

#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/debug/debugger_impl.h"

namespace lexora_test {
namespace {

// Each run of digits followed by "ms" becomes "N".
std::string WithoutTimes(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    size_t end = at;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    if (end > at && text.compare(end, 2, "ms") == 0) {
      out += 'N';
      at = end;
    } else if (end > at) {
      out.append(text, at, end - at);
      at = end;
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace

void ConsoleTest::SetUp() {
  previous_ = std::filesystem::current_path();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::temp_directory_path() /
               ("lexora_debug_" + std::to_string(::getpid()) + "_" + info->name());
  std::filesystem::remove_all(directory_);
  std::filesystem::create_directories(directory_);
  std::filesystem::current_path(directory_);
}

void ConsoleTest::TearDown() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

void ConsoleTest::WriteFile(const std::string& name, std::string_view bytes) {
  std::ofstream out(directory_ / name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ConsoleTest::ReadFile(const std::string& name) const {
  std::ifstream in(directory_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return WithoutTimes(text.str());
}

std::string ConsoleTest::RunConsole(const std::string& input,
                                    std::vector<std::string> firstCommands) const {
  // A session that quits early closes the command pipe under the writer.
  std::signal(SIGPIPE, SIG_IGN);
  int commands[2], output[2];
  if (::pipe(commands) != 0 || ::pipe(output) != 0) ADD_FAILURE() << "no pipe";
  // Both ends are drained by threads, so neither pipe can fill and stall
  // the console, however long the session.
  std::thread writer([&] {
    for (size_t done = 0; done < input.size();) {
      ssize_t n = ::write(commands[1], input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::close(commands[1]);
  });
  std::string text;
  std::thread reader([&] {
    char buffer[4096];
    for (ssize_t n; (n = ::read(output[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(output[0]);
  });
  FILE* in = ::fdopen(commands[0], "r");
  FILE* out = ::fdopen(output[1], "w");
  auto* debugger = new Nimbra::Lexora::LXDebuggerImpl(in, out, std::move(firstCommands));
  debugger->Run();
  debugger->Release();
  std::fclose(in);
  std::fclose(out);
  writer.join();
  reader.join();
  text = WithoutTimes(text);
  const std::string cwd = "cwd: " + directory_.string() + "\n";
  if (size_t at = text.find(cwd); at != std::string::npos)
    text.replace(at, cwd.size(), "cwd: {cwd}\n");
  return text;
}

}  // namespace lexora_test
