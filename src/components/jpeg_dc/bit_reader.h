#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tovak::jpeg_dc::detail {

// Bits from unstuffed data, most significant first. The buffer holds the next `count` bits at
// its top and, below them, parts of later bytes that the next refill reloads unchanged. It
// reads 8 bytes at a time and checks no bounds: the data must run on far enough (see
// EntropyData).
class BitReader {
 public:
  explicit BitReader(const uint8_t* base) : base_(base), next_(base) {}

  void Refill() {
    buf_ |= LoadBe64(next_) >> count_;
    next_ += (63 - count_) >> 3;
    count_ |= 56;
  }
  // Enough for any code with its value, which takes at most 31 bits.
  void RefillIfLow() {
    if (count_ < 32) Refill();
  }
  uint64_t Peek() const { return buf_; }
  void Consume(unsigned n) {
    buf_ <<= n;
    count_ -= n;
  }
  uint64_t Position() const { return uint64_t(next_ - base_) * 8 - count_; }
  void SeekToByte(size_t offset) {
    next_ = base_ + offset;
    buf_ = 0;
    count_ = 0;
  }
  void SeekToBit(uint64_t pos) {
    SeekToByte(size_t(pos >> 3));
    Refill();
    Consume(unsigned(pos & 7));
  }

 private:
  // One unaligned load and a byte swap: this is the innermost loop of the decoder.
  static uint64_t LoadBe64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return __builtin_bswap64(v);
  }

  const uint8_t* base_;
  const uint8_t* next_;
  uint64_t buf_ = 0;
  unsigned count_ = 0;
};

}  // namespace tovak::jpeg_dc::detail
