#include <string>

#include "cli/commands.h"
#include "cli/outputs.h"
#include "common/exception.h"
#include "compress/lzrw1_class.h"

namespace tovak::cli {

namespace {

int RunContainer(const std::string& in, const std::string& out, bool compress, uint8_t method) {
  if (const std::string problem = OutputProblem(out, {in}); !problem.empty()) return Fail(problem);
  TLzrw1Class container;
  container.UseStreams = false;
  container.InputFileName = in;
  container.OutputFileName = out;
  container.Method = method;
  try {
    if (compress) {
      container.Compress();
    } else {
      container.Decompress();
    }
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return 0;
}

}  // namespace

int RunCompress(const Arguments& args) {
  uint8_t method = cmLzh;
  Arguments files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--method") {
      if (i + 1 >= args.size()) return Fail("--method needs lzh, lzrw1kh or auto");
      const std::string& name = args[++i];
      if (name == "lzh") {
        method = cmLzh;
      } else if (name == "lzrw1kh") {
        method = cmLzrw1KH;
      } else if (name == "auto") {
        method = cmAuto;
      } else {
        return Fail("unknown method '" + name + "' (use lzh, lzrw1kh or auto)");
      }
    } else if (args[i].starts_with("--")) {
      return Fail("unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2)
    return Fail("usage: tovak-cli compress [--method lzh|lzrw1kh|auto] IN OUT");
  return RunContainer(files[0], files[1], true, method);
}

int RunDecompress(const Arguments& args) {
  if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--")) {
    return Fail("usage: tovak-cli decompress IN OUT");
  }
  return RunContainer(args[0], args[1], false, cmLzh);
}

}  // namespace tovak::cli
