// The voice container's fast method and its block coder. The input is read twice: as what
// follows the "WRZL" magic (the declared size, then length-prefixed blocks), and as one raw
// coded block.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "compress/compress_errors.h"
#include "compress/lzr.h"
#include "container_harness.h"

namespace {

using tovak::TLZR;
using tovak::fuzz::Fail;

// Exactly sized copies, so that the sanitizer sees any access past the stated lengths.
void BlockRoundTrip(TLZR& coder, const uint8_t* block, uint32_t n) {
  const std::vector<uint8_t> source(block, block + n);
  std::vector<uint8_t> coded(n + 6);
  const uint16_t length = coder.CompressBlock(source.data(), coded.data(), n);
  if (length < 1 || length > n + 1) Fail("LZRW1/KH: coded length out of range");
  coded.resize(length);
  auto decoded = std::make_unique<uint8_t[]>(TLZR::kMaxBlock);
  if (coder.DecompressBlock(coded.data(), decoded.get(), length) != n ||
      !std::equal(source.begin(), source.end(), decoded.get())) {
    Fail("LZRW1/KH: a coded block does not decode to its source");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tovak::fuzz::ExpandAndRecode("WRZL", data, size, tovak::cmLzrw1KH,
                               "LZRW1/KH: compressing and expanding changed the data");

  static TLZR coder;
  const uint32_t length = uint32_t(std::min<size_t>(size, TLZR::kMaxBlock + 1));
  const std::vector<uint8_t> block(data, data + length);
  auto decoded = std::make_unique<uint8_t[]>(TLZR::kMaxBlock);
  try {
    const uint32_t n = coder.DecompressBlock(block.data(), decoded.get(), length);
    if (n > uint32_t(TLZR::kMaxBlock)) Fail("LZRW1/KH: decoded more than a block");
    BlockRoundTrip(coder, decoded.get(), n);
  } catch (const tovak::ELzrw1Exception&) {
  }
  BlockRoundTrip(coder, data, uint32_t(std::min<size_t>(size, TLZR::kMaxBlock)));
  return 0;
}
