#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace tovak::testing {

struct CommandResult {
  int status = -1;     // the exit status, or -1 when the command did not exit normally
  std::string output;  // stdout and stderr together
};

// Runs a shell command line and gathers what it prints.
inline CommandResult RunCommand(const std::string& commandLine) {
  CommandResult result;
  FILE* pipe = popen(("{ " + commandLine + "\n} 2>&1").c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), got);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

inline std::string Quote(const std::string& s) {
  std::string quoted = "'";
  for (char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace tovak::testing
