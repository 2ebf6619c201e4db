#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "cli/commands.h"

namespace tovak::cli {

namespace {

bool quietRun = false;

}  // namespace

int Fail(const std::string& message) {
  // The core's messages write "NAME : reason"; the command line's form is "NAME: reason".
  std::string line = message;
  for (size_t at = line.find(" : "); at != std::string::npos; at = line.find(" : ", at))
    line.erase(at, 1);
  std::fprintf(stderr, "tovak-cli: %s\n", line.c_str());
  return 1;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tovak-cli: %s (see tovak-cli help)\n", message.c_str());
  return 2;
}

void Warn(const std::string& message) {
  std::fprintf(stderr, "tovak-cli: warning: %s\n", message.c_str());
}

void SetQuiet(bool quiet) {
  quietRun = quiet;
}

bool ShowsProgress() {
  return !quietRun && ::isatty(STDERR_FILENO);
}

bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value) {
  int32_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || error != std::errc() || stop != end || parsed < low || parsed > high) {
    return false;
  }
  value = parsed;
  return true;
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  constexpr int32_t kLargest = 100000;
  return ParseNumber(text.substr(0, x), 1, kLargest, width) &&
         ParseNumber(text.substr(x + 1), 1, kLargest, height);
}

bool IsOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-';
}

Arguments SplitOptionValues(const Arguments& args) {
  Arguments split;
  bool options = true;
  for (const std::string& arg : args) {
    if (arg == "--") options = false;
    const size_t equals = arg.find('=');
    if (options && arg.starts_with("--") && equals != std::string::npos) {
      split.push_back(arg.substr(0, equals));
      split.push_back(arg.substr(equals + 1));
    } else {
      split.push_back(arg);
    }
  }
  return split;
}

bool ParseCommandLine(const Arguments& args, const std::vector<std::string>& valued,
                      CommandLine& line) {
  const Arguments split = SplitOptionValues(args);
  for (size_t i = 0; i < split.size(); ++i) {
    const std::string& arg = split[i];
    if (arg == "--") {
      line.operands.insert(line.operands.end(), split.begin() + i + 1, split.end());
      break;
    }
    if (!IsOption(arg)) {
      line.operands.push_back(arg);
    } else if (arg == "-q" || arg == "--quiet") {
      SetQuiet(true);
    } else if (std::find(valued.begin(), valued.end(), arg) == valued.end()) {
      UsageError("unknown option '" + arg + "'");
      return false;
    } else if (i + 1 >= split.size()) {
      UsageError(arg + " needs a value");
      return false;
    } else {
      line.options[arg] = split[++i];
    }
  }
  return true;
}

}  // namespace tovak::cli
