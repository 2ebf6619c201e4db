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
  Arguments files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--max" || arg == "--quality") {
      if (i + 1 >= args.size()) return Fail(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--max") {
        if (!ParseSize(value, preparation.MaxWidth, preparation.MaxHeight)) {
          return Fail("--max takes WIDTHxHEIGHT, e.g. 640x480");
        }
      } else {
        if (!ParseNumber(value, 0, 100, preparation.Quality)) {
          return Fail("--quality takes a number from 0 (keep) to 100");
        }
      }
    } else if (arg.starts_with("--")) {
      return Fail("unknown option '" + arg + "'");
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2)
    return Fail("usage: tovak-cli prepare [--max WxH] [--quality Q] IN OUT.jpg");

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
    return Fail(e.Message());
  }
  std::printf("%dx%d\n", picture.Width(), picture.Height());
  return 0;
}

}  // namespace tovak::cli
