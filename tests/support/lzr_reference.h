#pragma once

#include <cstdint>

namespace tovak::reference {

// A plain, direct LZRW1/KH block coder kept as the yardstick for TLZR: the tests compare
// TLZR's output with it byte for byte and the benchmarks measure TLZR against it. It is
// deliberately naive; do not optimise it.
class Lzrw1KH {
 public:
  // Like the classic coder, this reads up to 2 bytes of source beyond n (they never change the
  // result), so callers must give n + 2 readable bytes. destination must hold n + 6 bytes.
  uint16_t CompressBlock(const uint8_t* source, uint8_t* destination, uint16_t n);

  // No checks at all: only for blocks that CompressBlock produced.
  static uint16_t DecompressBlock(const uint8_t* source, uint8_t* destination, uint16_t L);

 private:
  bool GetMatch(const uint8_t* source, uint16_t x, uint16_t n, uint16_t* size, int16_t* pos);

  int16_t hash_table_[4096];
};

}  // namespace tovak::reference
