#pragma once

#include <string>

#include "common/exception.h"

namespace tovak {

// Failures of the voice container: I/O, headers, size checks and damaged data.
class ELzrw1Exception : public Exception {
 public:
  using Exception::Exception;
};

// Failures of the LZH codec's own tables.
class ElzhException : public Exception {
 public:
  using Exception::Exception;
};

// The LZRW1/KH coder could not get its hash table.
class ELzrw1KHCompressor : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace tovak
