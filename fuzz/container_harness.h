#pragma once

// What the two container harnesses share: running the container over memory, and the promise
// that whatever expands cleanly comes back unchanged through the same method.

#include <cstdint>
#include <vector>

#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"
#include "harness.h"

namespace tovak::fuzz {

using Bytes = std::vector<uint8_t>;

// Anything larger comes from a forged size or long runs; recoding it only slows the search.
inline constexpr size_t kLargestRecoded = 1 << 9;

// What the container wrote, and whether it finished without a complaint.
inline Bytes RunContainer(Bytes input, uint8_t method, bool compress, bool* whole = nullptr) {
  TMemoryStream in(std::move(input));
  TMemoryStream out;
  TLzrw1Class container;
  container.UseStreams = true;
  container.Method = method;
  container.InputStream = &in;
  container.OutputStream = &out;
  // With streams the container ends quietly on damaged data, keeping what it wrote.
  if (compress) {
    container.Compress();
  } else {
    const int32_t written = container.Decompress();
    if (whole) *whole = written == container.UncompressedSize() && written == out.Size();
  }
  return out.Bytes();
}

// Expands magic + data; a clean expansion small enough to recode must survive a round trip.
inline void ExpandAndRecode(const char (&magic)[5], const uint8_t* data, size_t size,
                            uint8_t method, const char* failure) {
  Bytes container(magic, magic + 4);
  container.insert(container.end(), data, data + size);
  bool whole = false;
  const Bytes expanded = RunContainer(std::move(container), method, false, &whole);
  if (whole && expanded.size() <= kLargestRecoded &&
      RunContainer(RunContainer(expanded, method, true), method, false) != expanded) {
    Fail(failure);
  }
}

}  // namespace tovak::fuzz
