#pragma once

#include <cstdio>
#include <string>

namespace tovak {

// Reads and verifies every record of a package without a window: each picture decodes, each
// voice expands to a playable WAV file, each message reads. Prints a line per sound picture to
// out and one per damaged picture, naming it, to err; returns 0, or 1 when any is damaged.
int CheckPackage(const std::string& path, std::FILE* out, std::FILE* err);

}  // namespace tovak
