// The voice container's strong method, as every package carries it. The input is what follows
// the "!HZL" magic: the declared size, then the LZH bit stream.

#include <cstdint>
#include <vector>

#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"
#include "harness.h"

namespace {

using tovak::TLzrw1Class;
using tovak::TMemoryStream;
using Bytes = std::vector<uint8_t>;

// Anything larger comes from a forged size or long runs; recoding it only slows the search.
constexpr size_t kLargestRecoded = 1 << 9;

// What the container wrote, and whether it finished without a complaint.
Bytes Run(Bytes input, bool compress, bool* whole = nullptr) {
  TMemoryStream in(std::move(input));
  TMemoryStream out;
  TLzrw1Class container;
  container.UseStreams = true;
  container.Method = tovak::cmLzh;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes container = {'!', 'H', 'Z', 'L'};
  container.insert(container.end(), data, data + size);
  bool whole = false;
  const Bytes expanded = Run(std::move(container), false, &whole);
  // What came out of a sound container, the encoder must give back unchanged.
  if (whole && expanded.size() <= kLargestRecoded && Run(Run(expanded, true), false) != expanded) {
    tovak::fuzz::Fail("LZH: compressing and expanding changed the data");
  }
  return 0;
}
