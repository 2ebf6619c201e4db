#pragma once

#include <cstdint>
#include <memory>

namespace tovak {

// The LZRW1/KH block coder, whose blocks docs/voice-container.md describes: single-pass, every
// block of at most 32768 bytes coded on its own.
class TLZR {
 public:
  static constexpr int kHashSize = 4096;
  static constexpr int kMaxBlock = 32768;
  // The shortest coded block that decodes to kMaxBlock bytes: a flag, one control word and eight
  // runs of at most 4111 bytes each.
  static constexpr int kShortestFullBlock = 35;

  // Throws ELzrw1KHCompressor ("LZRW1KH : no memory for HASH table") when the table cannot be
  // allocated.
  TLZR();
  ~TLZR();
  TLZR(const TLZR&) = delete;
  TLZR& operator=(const TLZR&) = delete;

  // Codes n (0..32768) bytes of source into destination and returns the coded length L
  // (1..n + 1). destination must hold n + 6 bytes. Bytes of source beyond n are never read.
  uint16_t CompressBlock(const uint8_t* source, uint8_t* destination, uint32_t n);

  // Decodes the L coded bytes of source into destination, which holds kMaxBlock bytes, and
  // returns the decoded length. Never reads outside source[0, L) nor writes outside
  // destination[0, kMaxBlock), though bytes past the decoded length may be overwritten. A damaged
  // block (a copy reaching before the block's start, an item or control word cut off at the end,
  // more than kMaxBlock bytes of output) throws ELzrw1Exception.
  uint32_t DecompressBlock(const uint8_t* source, uint8_t* destination, uint32_t L);

 private:
  std::unique_ptr<int16_t[]> HashTable;
};

}  // namespace tovak
