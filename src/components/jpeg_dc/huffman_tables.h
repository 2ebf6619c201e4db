#pragma once

#include <cstdint>

// Huffman tables as the eighth-scale decoder looks codes up in them. Everything in jpeg_dc/
// reproduces libjpeg-turbo's parsing and arithmetic for a 1/8 scaled decode, so that the
// pictures match its own to the bit.
namespace tovak::jpeg_dc::detail {

// A table as a DHT segment defines it.
struct RawTable {
  bool defined = false;
  uint8_t counts[17] = {};  // codes of each length, 1..16
  uint8_t symbols[256] = {};
};

// A canonical Huffman code, checked as libjpeg's table builder checks it.
struct Code {
  int32_t maxcode[18];  // the largest code of each length, -1 for none
  int32_t offset[17];   // index of a code's symbol, less the code
  uint8_t symbols[256];

  bool Build(const RawTable& raw);

  // Decodes the code at the top of bits, trying lengths from `from` (every shorter length
  // already ruled out) up to `to`. False when none matches.
  bool Decode(uint64_t bits, int from, int to, int& length, int& symbol) const {
    for (length = from; length <= to; ++length) {
      const int64_t code = int64_t(bits >> (64 - length));
      if (code <= maxcode[length]) {
        symbol = symbols[offset[length] + code];
        return true;
      }
    }
    return false;
  }
};

// DC tables. An entry holds the code's length and the size of the difference that follows
// (length | size << 8); zero for a code longer than kDcBits.
constexpr int kDcBits = 9;
struct DcTable {
  uint16_t fast[1 << kDcBits];
  Code code;

  bool Build(const RawTable& raw);
  unsigned Slow(uint64_t bits) const {
    int length, symbol;
    return code.Decode(bits, kDcBits + 1, 16, length, symbol) ? unsigned(length | symbol << 8) : 0;
  }
};

// AC tables, for stepping over coefficients without their values. An entry covers as many
// whole codes, with their value bits, as the kAcBits it is looked up by hold, up to and
// including an end of block:
//   bits 0-5    bits they take
//   bits 6-12   how far they move the coefficient index (the end of block not counted)
//   bit 13      they end with an end of block
//   bits 16-21  bits the first code alone takes, with its value
//   bits 22-28  how far it alone moves the index (64 for an end of block)
// A block may also end by running past its 64th coefficient; when the several codes of an
// entry would take it there, the first is taken alone. Zero: the first code is longer than
// kAcBits.
constexpr int kAcBits = 12;
constexpr uint32_t kEndOfBlock = 1u << 13;
struct AcTable {
  uint32_t fast[1 << kAcBits];
  // For decoding the values too: length | symbol << 8, zero when longer than kAcBits.
  uint16_t symbol[1 << kAcBits];
  Code code;

  static int Step(int symbol) {
    const int run = symbol >> 4, size = symbol & 15;
    return size ? run + 1 : run == 15 ? 16 : 64;
  }
  static uint32_t Single(int length, int symbol) {
    const int bits = length + (symbol & 15), step = Step(symbol);
    const uint32_t first = uint32_t(bits) << 16 | uint32_t(step) << 22;
    return step == 64 ? first | uint32_t(bits) | kEndOfBlock
                      : first | uint32_t(bits) | uint32_t(step) << 6;
  }

  bool Build(const RawTable& raw);
  uint32_t Slow(uint64_t bits) const {
    int length, symbol;
    return code.Decode(bits, kAcBits + 1, 16, length, symbol) ? Single(length, symbol) : 0;
  }
};

}  // namespace tovak::jpeg_dc::detail
