#include <cstdio>
#include <exception>
#include <string>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tovak-cli COMMAND [OPTIONS] ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  compress [--method lzh|lzrw1kh|auto] IN OUT\n"
    "      Packs the file IN into the voice container OUT (default method: lzh).\n"
    "  decompress IN OUT\n"
    "      Expands the voice container IN (either method) into OUT.\n"
    "  help\n"
    "      Shows this text.\n";

}  // namespace

namespace tovak::cli {

int Fail(const std::string& message) {
  std::fprintf(stderr, "tovak-cli: %s\n", message.c_str());
  return 1;
}

}  // namespace tovak::cli

int main(int argc, char** argv) {
  using namespace tovak::cli;
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  const Arguments args(argv + 2, argv + argc);
  try {
    if (command == "help" || command == "--help" || command == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (command == "compress") return RunCompress(args);
    if (command == "decompress") return RunDecompress(args);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  Fail("unknown command '" + command + "'");
  std::fputs(kUsage, stderr);
  return 2;
}
