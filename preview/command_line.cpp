#include "preview/command_line.h"

#include <getopt.h>

#include <cctype>

const char kUsage[] =
    "usage: lxpreview --registry FILE [--drive X:=DIR]... [--no-wait]\n"
    "Previews the upgrade of a Corvane gateway's legacy Lexora rules: converts and\n"
    "compiles every rule of the current configuration and prints the errors and\n"
    "warnings the upgrade would raise. Changes nothing.\n"
    "  --registry FILE   the gateway's registry, exported by the registry editor\n"
    "                    (\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\")\n"
    "  --drive X:=DIR    read the gateway's drive X: from the folder DIR (a copy)\n"
    "  --no-wait         do not wait for a key press before exiting\n"
    "Exit status: 0 preview done, 1 already upgraded or failed, 2 usage error.\n";

namespace {

enum Option { kRegistry = 1, kDrive, kNoWait, kHelp };

const option kOptions[] = {
    {"registry", required_argument, nullptr, kRegistry},
    {"drive", required_argument, nullptr, kDrive},
    {"no-wait", no_argument, nullptr, kNoWait},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0},
};

bool ParseDrive(const std::string& text, PreviewOptions& options) {
  if (text.size() < 4 || !std::isalpha(static_cast<unsigned char>(text[0])) || text[1] != ':' ||
      text[2] != '=') {
    return false;
  }
  options.drives.Map(text[0], text.substr(3));
  return true;
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv, PreviewOptions& options, std::string& error) {
  opterr = 0;
  optind = 1;
  for (int option; (option = getopt_long(argc, argv, ":", kOptions, nullptr)) != -1;) {
    switch (option) {
      case kRegistry:
        options.registryExport = optarg;
        break;
      case kDrive:
        if (!ParseDrive(optarg, options)) {
          error = "--drive wants X:=DIR, not '" + std::string(optarg) + "'";
          return CommandLine::kUsageError;
        }
        break;
      case kNoWait:
        options.waitForKey = false;
        break;
      case kHelp:
        return CommandLine::kHelp;
      case ':':
        error = std::string(argv[optind - 1]) + " needs a value";
        return CommandLine::kUsageError;
      default:
        error = "unknown option '" + std::string(argv[optind - 1]) + "'";
        return CommandLine::kUsageError;
    }
  }
  if (optind < argc) {
    error = "unexpected argument '" + std::string(argv[optind]) + "'";
    return CommandLine::kUsageError;
  }
  if (options.registryExport.empty()) {
    error = "--registry FILE is required";
    return CommandLine::kUsageError;
  }
  return CommandLine::kPreview;
}
