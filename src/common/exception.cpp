#include "common/exception.h"

namespace tovak {

// Anchors the vtable in one translation unit.
Exception::~Exception() = default;

}  // namespace tovak
