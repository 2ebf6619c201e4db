#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tovak::cli {

using Arguments = std::vector<std::string>;

// Each command returns the process exit status. Failures are reported on stderr as one line.
int RunCompress(const Arguments& args);
int RunDecompress(const Arguments& args);
int RunPrepare(const Arguments& args);
int RunBuild(const Arguments& args);
// The same for a build whose files lie under a temporary name: every line it prints names them
// with `temporary` replaced by `given`.
int RunBuildNamed(const Arguments& args, const std::string& temporary, const std::string& given);
int RunInfo(const Arguments& args);
int RunExtract(const Arguments& args);
int RunDemo(const Arguments& args);
int RunRecord(const Arguments& args);
int RunPlay(const Arguments& args);
int RunExportHtml(const Arguments& args);
int RunExportVideo(const Arguments& args);

// Prints "tovak-cli: message" to stderr and returns the failure status, 1.
int Fail(const std::string& message);
// The same for a command line that cannot be understood, with the status 2.
int UsageError(const std::string& message);
// Prints "tovak-cli: warning: message" to stderr.
void Warn(const std::string& message);

// Progress lines go to a terminal only, and not after -q.
void SetQuiet(bool quiet);
bool ShowsProgress();

// "WIDTHxHEIGHT" with both positive.
bool ParseSize(const std::string& text, int32_t& width, int32_t& height);
// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value);

// Whether an argument is an option: "-" alone names standard input or output.
bool IsOption(const std::string& arg);
// The arguments with each "--name=value" before "--" split in two, so that a command reads
// both spellings alike.
Arguments SplitOptionValues(const Arguments& args);

// One command's options and operands: "--name value" and "--name=value" alike, "--" ends the
// options, and -q silences progress wherever it stands.
struct CommandLine {
  std::map<std::string, std::string> options;  // a flag's value is empty
  Arguments operands;
  bool Has(const std::string& name) const { return options.count(name) > 0; }
};
// Fills line from args; false after reporting an unknown option or a missing value.
bool ParseCommandLine(const Arguments& args, const std::vector<std::string>& valued,
                      CommandLine& line);

}  // namespace tovak::cli
