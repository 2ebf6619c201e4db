#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/exception.h"
#include "web/web_export.h"

namespace tovak::cli {

int RunExportHtml(const Arguments& arguments) try {
  CommandLine line;
  if (!ParseCommandLine(arguments, {}, line)) return 2;
  const Arguments& args = line.operands;
  if (args.size() != 2) return UsageError("usage: tovak-cli export-html PACKAGE OUT.html");
  if (const std::string problem = InputProblem(args[0]); !problem.empty()) return Fail(problem);
  if (const std::string problem = OutputProblem(args[1], {args[0]}); !problem.empty())
    return Fail(problem);
  // The page is made under a name of our own, so that an interruption while it is made leaves
  // an older page where it was.
  PendingFile page(args[1]);
  WebExportReport report;
  try {
    // Ctrl-C is looked at between slides and within long voices, so it stops a long page at
    // once.
    report = ExportWebSlideshow(
        args[0], page.Temporary(), 1, [] { return InterruptSignal() != 0; }, args[1]);
  } catch (const Exception& e) {
    ThrowIfInterrupted();
    return Fail(NamedAsGiven(e.Message(), page.Temporary(), args[1]));
  }
  ThrowIfInterrupted();
  if (std::string error; !page.Commit(&error))
    return Fail(args[1] + ": cannot be written: " + error);
  for (const std::string& warning : report.warnings) Warn(warning);
  std::printf("%s: %d picture%s, %d voice%s, %lld bytes\n", args[1].c_str(), report.pictures,
              report.pictures == 1 ? "" : "s", report.voices, report.voices == 1 ? "" : "s",
              static_cast<long long>(report.bytes));
  return 0;
} catch (const Exception& e) {
  return Fail(e.Message());
}

}  // namespace tovak::cli
