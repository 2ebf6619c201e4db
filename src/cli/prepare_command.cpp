#include <cstdio>
#include <string>

#include "builder/picture_preparation.h"
#include "cli/commands.h"
#include "cli/outputs.h"
#include "common/exception.h"
#include "common/memory_stream.h"

namespace tovak::cli {

int RunPrepare(const Arguments& args) {
  PicturePreparation preparation;
  CommandLine line;
  if (!ParseCommandLine(args, {"--max", "--quality"}, line)) return 2;
  if (line.Has("--max") &&
      !ParseSize(line.options["--max"], preparation.MaxWidth, preparation.MaxHeight)) {
    return UsageError("--max takes WIDTHxHEIGHT, e.g. 640x480");
  }
  if (line.Has("--quality") && !ParseNumber(line.options["--quality"], 0, 100, preparation.Quality))
    return UsageError("--quality takes a number from 0 (keep) to 100");
  const Arguments& files = line.operands;
  if (files.size() != 2)
    return UsageError("usage: tovak-cli prepare [--max WxH] [--quality Q] IN OUT.jpg");
  if (const std::string problem = InputProblem(files[0]); !problem.empty()) return Fail(problem);
  if (const std::string problem = OutputProblem(files[1], {files[0]}); !problem.empty())
    return Fail(problem);

  JpegPicture picture;
  try {
    PicturePreparation::Load(files[0], picture);
    preparation.Finish(picture);
    TMemoryStream out;
    picture.SaveToStream(out);
    if (const std::string problem = WriteOutput(files[1], out.Bytes()); !problem.empty())
      return Fail(problem);
  } catch (const Exception& e) {
    const std::string& message = e.Message();
    return Fail(message.starts_with(files[0]) ? message : files[0] + ": " + message);
  }
  std::printf("%dx%d\n", picture.Width(), picture.Height());
  return 0;
}

}  // namespace tovak::cli
