#pragma once

#include <string>
#include <vector>

namespace tovak::cli {

using Arguments = std::vector<std::string>;

// Each command returns the process exit status. Failures are reported on stderr as one line.
int RunCompress(const Arguments& args);
int RunDecompress(const Arguments& args);

// Prints "tovak-cli: message" to stderr and returns the failure status.
int Fail(const std::string& message);

}  // namespace tovak::cli
