#pragma once

#include <cstdint>
#include <string>

namespace tovak {

// Where a Windows program's own image ends in its file, from its PE headers: the furthest end
// of a section's raw data or of the attached certificate. Whatever follows is not the program's;
// 0 when the file is not a PE image.
int64_t PeImageSize(const uint8_t* head, size_t size);

// The same for a file (read through the UTF-8 name); 0 when it cannot be read.
int64_t PeImageSizeOfFile(const std::string& path);

}  // namespace tovak
