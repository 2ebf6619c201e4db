#pragma once

#include "common/exception.h"

namespace tovak {

// A picture that cannot be read, decoded or encoded: unknown format, damaged or truncated data,
// or a size beyond what the program handles.
class EPictureError : public Exception {
 public:
  using Exception::Exception;
};

// Pictures larger than this are refused before any pixels are allocated.
inline constexpr int64_t kMaxPicturePixels = 100'000'000;

}  // namespace tovak
