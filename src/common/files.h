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

}  // namespace tovak
