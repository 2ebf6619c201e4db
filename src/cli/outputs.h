#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovak::cli {

// Each returns "NAME: reason", the form every message of the command line takes, or empty when
// all is well. Commands ask before they write anything, so a refusal leaves everything as it was.

// For an output file: a folder, a device or a FIFO is never replaced by a file; an output that is
// one of the inputs (by name or through a link) would destroy what the command reads; and the
// folder it goes into must exist and take new files.
std::string OutputProblem(const std::string& out, const std::vector<std::string>& inputs = {});

// For a folder that a command writes its files into: it may be missing, as it is made, but
// what is there must be a folder that takes new files.
std::string FolderProblem(const std::string& folder);

// For an input: a regular file that can be read.
std::string InputProblem(const std::string& path);

// Writes bytes to path under a short temporary name beside it and renames it into place. A
// signal that arrives meanwhile leaves path as it was and throws Interrupted.
std::string WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes);

// message with every mention of the temporary name an output was written under replaced by the
// name the user gave it.
std::string NamedAsGiven(std::string message, const std::string& temporary,
                         const std::string& given);

}  // namespace tovak::cli
