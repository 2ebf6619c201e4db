#pragma once

#include <cstdio>
#include <string>

namespace tovak {

// Reads and verifies every record of a package without a window: each picture decodes, each
// voice expands to a playable WAV file. Prints a line per picture to out; returns 0, or 1 with
// the first problem on err.
int CheckPackage(const std::string& path, std::FILE* out, std::FILE* err);

}  // namespace tovak
