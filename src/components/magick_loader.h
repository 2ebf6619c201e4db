#pragma once

// Opening libtovak_magick.so, shared by the program and the drawing worker. No Qt and no
// exceptions: the worker links nothing else of the program.

#include <string>
#include <vector>

#include "components/magick_module.h"

namespace tovak {

struct MagickModule {
  TovakMagickStartFn start = nullptr;
  TovakMagickPingFn ping = nullptr;
  TovakMagickDecodeFn decode = nullptr;
  explicit operator bool() const { return start && ping && decode; }
};

// Opens the module at path and checks it is the one this program was built with; otherwise
// returns an empty module and says why. A module once opened stays loaded for the process.
MagickModule OpenMagickModule(const std::string& path, std::string& why);

// Where a file the build puts beside the programs may be: beside the running program first,
// then at buildPath (for programs run from elsewhere in the build tree), when given.
std::vector<std::string> BesideProgram(const std::string& name, const char* buildPath);

}  // namespace tovak
