#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/exception.h"
#include "video/video_export.h"

namespace tovak::cli {

namespace {

constexpr const char* kVideoUsage = "usage: tovak-cli export-video [--size WxH] PACKAGE OUT.mp4";

// The slides are drawn with Qt's fonts, which need a graphical application; it runs offscreen,
// so no display is needed.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
  static int argc = 3;
  static char name[] = "tovak-cli";
  static char platform[] = "-platform";
  static char offscreen[] = "offscreen";
  static char* argv[] = {name, platform, offscreen, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunExportVideo(const Arguments& arguments) try {
  CommandLine line;
  if (!ParseCommandLine(arguments, {"--size"}, line)) return 2;
  const Arguments& args = line.operands;
  if (args.size() != 2) return UsageError(kVideoUsage);
  VideoExportOptions options;
  if (line.Has("--size")) {
    if (!ParseSize(line.options["--size"], options.width, options.height))
      return UsageError("--size takes WIDTHxHEIGHT, e.g. 1280x720");
    if (const std::string problem = VideoSizeProblem(options.width, options.height);
        !problem.empty())
      return UsageError("--size " + line.options["--size"] + ": " + problem);
  }
  if (const std::string problem = InputProblem(args[0]); !problem.empty()) return Fail(problem);
  if (const std::string problem = OutputProblem(args[1], {args[0]}); !problem.empty())
    return Fail(problem);
  const auto application = MakeGuiApplication();
  const bool progress = ShowsProgress();
  options.progress = [&](int picture, int pictures, int percent) {
    if (progress) std::fprintf(stderr, "\rpicture %d/%d, %d %%  ", picture, pictures, percent);
    return InterruptSignal() == 0;
  };
  // The video is made under a name of our own, so that an interruption while it is made leaves
  // an older video where it was.
  PendingFile video(args[1]);
  VideoExportReport report;
  try {
    report = ExportVideoSlideshow(args[0], video.Temporary(), options);
    if (progress) std::fputc('\n', stderr);
  } catch (const Exception& e) {
    if (progress) std::fputc('\n', stderr);
    ThrowIfInterrupted();
    return Fail(NamedAsGiven(e.Message(), video.Temporary(), args[1]));
  }
  ThrowIfInterrupted();
  if (std::string error; !video.Commit(&error))
    return Fail(args[1] + ": cannot be written: " + error);
  for (const std::string& warning : report.warnings) Warn(warning);
  std::printf("%s: %d picture%s, %d voice%s, %.1f s, %lld bytes\n", args[1].c_str(),
              report.pictures, report.pictures == 1 ? "" : "s", report.voices,
              report.voices == 1 ? "" : "s", double(report.durationMs) / 1000,
              static_cast<long long>(report.bytes));
  return 0;
} catch (const Exception& e) {
  return Fail(e.Message());
}

}  // namespace tovak::cli
