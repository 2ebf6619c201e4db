#pragma once

#include <string>

#include "builder/package_reader.h"

namespace tovak {

// What makes a package more than any show can be, or nothing: a picture, message or link menu
// larger than any reader holds, a voice stated larger than any show's, a link menu with more
// links or languages than a show has. Reads only the index, each voice's first bytes and the
// link menu, so a forged size costs nothing before it is refused. Throws EPackageError when the
// package cannot be read.
std::string OversizedRecord(PackageReader& reader);

}  // namespace tovak
