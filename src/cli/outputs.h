#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovak::cli {

// Why a command must not write the file out, or empty when it may: a folder, a device or a FIFO
// is never replaced by a file, and an output that is one of the inputs (by name or through a
// link) would destroy what the command reads. Each command asks before it writes anything.
std::string OutputProblem(const std::string& out, const std::vector<std::string>& inputs = {});

// The same for a folder that a command writes its files into: it may be missing, as it is made.
std::string FolderProblem(const std::string& folder);

// Writes bytes to path under a short temporary name beside it and renames it into place; the
// reason on failure, else empty.
std::string WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tovak::cli
