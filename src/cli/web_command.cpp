#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/outputs.h"
#include "common/exception.h"
#include "web/web_export.h"

namespace tovak::cli {

int RunExportHtml(const Arguments& args) try {
  if (args.size() != 2) return Fail("usage: tovak-cli export-html PACKAGE OUT.html");
  if (const std::string problem = OutputProblem(args[1], {args[0]}); !problem.empty())
    return Fail(problem);
  const WebExportReport report = ExportWebSlideshow(args[0], args[1]);
  for (const std::string& warning : report.warnings)
    std::fprintf(stderr, "tovak-cli: %s\n", warning.c_str());
  std::printf("%s: %d pictures, %d voices, %lld bytes\n", args[1].c_str(), report.pictures,
              report.voices, static_cast<long long>(report.bytes));
  return 0;
} catch (const Exception& e) {
  return Fail(e.Message());
}

}  // namespace tovak::cli
