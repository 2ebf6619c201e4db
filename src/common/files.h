#pragma once

#include <cstdint>
#include <string>

namespace tovak {

// The extension of path from its last dot, upper-cased (".JPG"); empty when it has none.
std::string UpperExtension(const std::string& path);

// The size of a regular file in bytes, or -1 when it does not exist or cannot be examined.
int64_t FileSize(const std::string& path);
// Whether a regular file is at path (a symbolic link to one counts; a folder does not).
bool FileExists(const std::string& path);
// Deletes the file after testing that it exists; a failed delete is not an error for callers.
// Anything that is not a plain file (a folder, a device) is left alone.
bool DeleteFileIfExists(const std::string& path);

// Whether two names lead to one file (same device and file identity), through links of either
// kind. A name with no file behind it is nobody's twin.
bool SameFile(const std::string& a, const std::string& b);

// Why path cannot take a new output file, or empty when it can: nothing is there yet, or a
// regular file (or a link to one) that may be replaced. A folder, a device, a FIFO or a socket
// is never replaced by a file of ours.
std::string OutputTargetProblem(const std::string& path);

}  // namespace tovak
