#pragma once

#include <cstdint>

#include "common/byte_order.h"

namespace tovak {

// The slideshow package's layout, limits and a worked example: docs/package-format.md.
namespace package {

inline constexpr int kTrailerSize = 16;
inline constexpr int kRecordsPerPicture = 3;
// Every offset and size in the index is a signed 32-bit value.
inline constexpr int64_t kLargestPackage = int64_t{1} << 31;

// Index entries for n pictures: an (offset, size) pair per record and one for the link menu.
inline constexpr int64_t IndexEntryCount(int64_t pictures) {
  return 2 * (kRecordsPerPicture * pictures + 1);
}

}  // namespace package
}  // namespace tovak
