#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace tovak::jpeg_dc::detail {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// calloc: large blocks come straight from the kernel, already zero, and untouched pages cost
// nothing. Null when there is not enough memory.
template <typename T>
using Buffer = std::unique_ptr<T[], FreeDeleter>;
template <typename T>
Buffer<T> Allocate(size_t count) {
  return Buffer<T>(static_cast<T*>(std::calloc(count, sizeof(T))));
}

}  // namespace tovak::jpeg_dc::detail
