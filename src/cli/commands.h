#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovak::cli {

using Arguments = std::vector<std::string>;

// Each command returns the process exit status. Failures are reported on stderr as one line.
int RunCompress(const Arguments& args);
int RunDecompress(const Arguments& args);
int RunPrepare(const Arguments& args);
int RunBuild(const Arguments& args);
int RunInfo(const Arguments& args);
int RunExtract(const Arguments& args);
int RunDemo(const Arguments& args);
int RunRecord(const Arguments& args);
int RunPlay(const Arguments& args);
int RunExportHtml(const Arguments& args);

// Prints "tovak-cli: message" to stderr and returns the failure status.
int Fail(const std::string& message);

// "WIDTHxHEIGHT" with both positive.
bool ParseSize(const std::string& text, int32_t& width, int32_t& height);
// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value);

}  // namespace tovak::cli
