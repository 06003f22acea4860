#include "bench/compare/external_tools.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

extern char** environ;

namespace lexora_compare {
namespace {

// The environment with LC_ALL=C: a fixed locale keeps the tools' case
// folding byte-wise and their speed comparable from machine to machine.
std::vector<std::string> CLocaleEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "LC_ALL=", 7) != 0) env.emplace_back(*e);
  }
  env.emplace_back("LC_ALL=C");
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (std::string& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

std::vector<std::string> WithMessages(std::vector<std::string> argv, const Corpus& corpus) {
  for (const Message& m : corpus.messages) argv.push_back(m.path);
  return argv;
}

// Times `argv` `runs` times; `count` reads the figure from its output.
template <typename CountFn>
ToolFigures MeasureTool(const std::vector<std::string>& argv, const Corpus& corpus, int runs,
                        CountFn count) {
  ToolFigures figures;
  std::vector<double> seconds;
  for (int r = 0; r < runs; ++r) {
    auto start = std::chrono::steady_clock::now();
    ProcessResult result = RunProcess(argv);
    seconds.push_back(SecondsSince(start));
    // grep exits with 1 when nothing matched; that is still a result.
    if (!result.started || result.exitCode < 0 || result.exitCode > 1) {
      figures.note =
          argv[0] + (result.started ? " failed, exit code " + std::to_string(result.exitCode)
                                    : " could not be started");
      return figures;
    }
    figures.count = count(result.output);
  }
  figures.available = true;
  figures.mbPerSecond = Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
  return figures;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv) {
  ProcessResult result;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  std::vector<std::string> args = argv;
  std::vector<std::string> env = CLocaleEnvironment();
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, Pointers(args).data(),
                             Pointers(env).data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned == 0) {
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
      if (n > 0)
        result.output.append(buffer, static_cast<size_t>(n));
      else if (errno != EINTR)
        break;
    }
  }
  close(pipeEnds[0]);
  if (spawned != 0) return result;
  result.started = true;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ToolFigures MeasureGrep(const std::string& wordsFile, const Corpus& corpus, int runs) {
  auto argv = WithMessages({"grep", "-c", "-F", "-w", "-i", "-f", wordsFile}, corpus);
  return MeasureTool(argv, corpus, runs, [](const std::string& output) {
    // One "path:count" line per message.
    uint64_t total = 0;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      size_t colon = line.rfind(':');
      if (colon != std::string::npos) total += std::stoull(line.substr(colon + 1));
    }
    return total;
  });
}

ToolFigures MeasurePerl(const std::string& wordsFile, const Corpus& corpus, int runs) {
  // Each message is read whole and matched as one string.
  static const char kProgram[] =
      "open(my $f, '<', shift) or die; chomp(my @w = <$f>); my $re = join('|', @w);"
      "$re = qr/\\b(?:$re)\\b/i; my $n = 0; local $/; while (<>) { $n++ while /$re/g }"
      "print \"$n\\n\";";
  auto argv = WithMessages({"perl", "-e", kProgram, wordsFile}, corpus);
  return MeasureTool(argv, corpus, runs, [](const std::string& output) {
    return output.empty() ? 0 : std::stoull(output);
  });
}

}  // namespace lexora_compare
