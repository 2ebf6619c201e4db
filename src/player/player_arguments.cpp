#include "player/player_arguments.h"

#include <cstdio>
#include <cstdlib>

#include "player/show_keys.h"

namespace tovak {

namespace {

std::string Usage(const std::string& program) {
  std::string text = "Usage: " + program + " [--window] [--lang N] [PACKAGE]\n       " + program +
                     " --check [PACKAGE]\nPlays a talking slideshow: this file's own, or PACKAGE. "
                     "Keys:\n";
  for (const ShowKey& key : kShowKeys) {
    char line[128];
    std::snprintf(line, sizeof line, "  %-32s %s\n", key.keys, key.action);
    text += line;
  }
  return text;
}

}  // namespace

int ReadPlayerArguments(const std::vector<std::string>& args, const char* version,
                        PlayerArguments& arguments, std::string& said) {
  const std::string program = args.empty() ? "tovak-player" : args[0];
  auto usageError = [&](const std::string& message) {
    said = "tovak-player: " + message + " (see " + program + " --help)\n";
    return 2;
  };
  bool options = true;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool hasValue = false;
    if (const size_t equals = arg.find('=');
        options && arg.starts_with("--") && equals != std::string::npos) {
      value = arg.substr(equals + 1);
      hasValue = true;
      arg.erase(equals);
    }
    if (!options || arg == "-" || !arg.starts_with("-")) {
      if (!arguments.path.empty()) return usageError("one package at a time: " + arg);
      arguments.path = arg;
    } else if (arg == "--") {
      options = false;
    } else if (arg == "--check") {
      arguments.check = true;
    } else if (arg == "--window") {
      arguments.window = true;
    } else if (arg == "--lang") {
      if (!hasValue && i + 1 < args.size()) {
        value = args[++i];
        hasValue = true;
      }
      char* end = nullptr;
      const long number = hasValue ? std::strtol(value.c_str(), &end, 10) : 0;
      if (!hasValue || value.empty() || *end != '\0' || number < 1 || number > 99)
        return usageError("--lang takes a language number from 1 to 99");
      arguments.language = int(number);
    } else if (arg == "--help" || arg == "-h") {
      said = Usage(program);
      return 0;
    } else if (arg == "--version") {
      said = "tovak-player " + std::string(version) + "\n";
      return 0;
    } else {
      return usageError("unknown option '" + arg + "'");
    }
  }
  return -1;
}

}  // namespace tovak
