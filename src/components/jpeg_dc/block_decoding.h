#pragma once

#include <cstdint>

#include "components/jpeg_dc/bit_reader.h"
#include "components/jpeg_dc/huffman_tables.h"
#include "components/jpeg_dc/layout.h"
#include "components/jpeg_dc/markers.h"

// Decoding blocks and MCUs from the bits: the innermost loops of the decoder, kept here so
// that each thread's loop has them inline.
namespace tovak::jpeg_dc::detail {

// The value bits of a coefficient of the given size, as a signed number.
inline int Extend(int bits, int size) {
  // Without branches: the size is as unpredictable as the picture.
  return bits < ((1 << size) >> 1) ? bits - (1 << size) + 1 : bits;
}

[[gnu::always_inline]] inline bool DecodeDc(BitReader& r, const DcTable& dc, int& diff) {
  r.Refill();
  unsigned e = dc.fast[r.Peek() >> (64 - kDcBits)];
  if (e == 0 && (e = dc.Slow(r.Peek())) == 0) [[unlikely]]
    return false;
  const unsigned length = e & 0xFF, size = e >> 8;
  diff = Extend(int((r.Peek() << length) >> 1 >> (63 - size)), int(size));
  r.Consume(length + size);
  return true;
}

// What decoding a block found.
enum BlockResult {
  kInvalid = 0,  // a code that is in no table
  kDecoded = 1,
  kOverrun = 2,  // a run past the 64th coefficient: libjpeg ends the block there, but no encoder
                 // writes it, so it means the bits were not read from where a block begins
};

// Decodes one block's DC difference and skips its AC coefficients, as libjpeg's decoder steps
// through them.
[[gnu::always_inline]] inline BlockResult DecodeBlock(BitReader& r, const DcTable& dc,
                                                      const AcTable& ac, int& diff) {
  if (!DecodeDc(r, dc, diff)) return kInvalid;
  unsigned k = 1;
  do {
    r.RefillIfLow();
    uint32_t a = ac.fast[r.Peek() >> (64 - kAcBits)];
    if (a == 0 && (a = ac.Slow(r.Peek())) == 0) [[unlikely]]
      return kInvalid;
    const unsigned step = (a >> 6) & 127;
    if (k + step < 64) {
      r.Consume(a & 63);
      k += step;
      if (a & kEndOfBlock) break;
    } else {
      r.Consume((a >> 16) & 63);
      k += (a >> 22) & 127;
    }
  } while (k < 64);
  return k > 64 ? kOverrun : kDecoded;
}

// libjpeg scales 4:2:0 chroma to an eighth by an inverse DCT to 2x2 samples, which uses the AC
// terms of rows and columns 1, 3, 5 and 7 too. The DC term only adds to what the others give
// before the final rounding, so they can be worked out first: each sample is then
// range_limit[(DC * quantiser + detail) >> 3], detail being what this gives for it (its
// rounding included), from the block's coefficients in natural order.
//
// libjpeg-turbo has that inverse DCT twice, in plain C and in SIMD, and they agree only while
// every dequantised term and every value of the first pass fits 16 bits and the samples lie
// within 384 of the range (beyond, C wraps them and SIMD saturates). No encoder comes near
// those limits; where a block's AC terms pass them, its details are all kOutOfRange, which no
// DC term brings back within the range.
constexpr int32_t kOutOfRange = INT32_MIN;
void ChromaDetail(const int16_t* coef, const int16_t* quant, int32_t* detail);

// The AC coefficients the 2x2 inverse DCT uses: rows and columns 0, 1, 3, 5 and 7.
inline constexpr struct UsedBy2x2 {
  bool used[64];
  constexpr UsedBy2x2() : used() {
    for (int i = 1; i < 64; ++i) {
      const int row = i / 8, col = i % 8;
      used[i] = (row == 0 || row % 2 == 1) && (col == 0 || col % 2 == 1);
    }
  }
  constexpr bool operator[](int i) const { return used[i]; }
} kUsedBy2x2;

// A 4:2:0 chroma block: its DC difference, and the detail of its four samples.
[[gnu::always_inline]] inline BlockResult DecodeChromaBlock(BitReader& r, const DcTable& dc,
                                                            const AcTable& ac, const int16_t* quant,
                                                            int& diff, int32_t* detail) {
  if (!DecodeDc(r, dc, diff)) return kInvalid;
  int16_t coef[64] = {};
  bool used = false;  // whether any coefficient the inverse DCT uses is there
  int k = 1;
  for (; k < 64; ++k) {
    r.Refill();
    unsigned e = ac.symbol[r.Peek() >> (64 - kAcBits)];
    int length, symbol;
    if (e) {
      length = int(e & 0xFF);
      symbol = int(e >> 8);
    } else if (!ac.code.Decode(r.Peek(), kAcBits + 1, 16, length, symbol)) [[unlikely]] {
      return kInvalid;
    }
    const int run = symbol >> 4, size = symbol & 15;
    if (size) {
      k += run;
      const int at = kNatural[k];
      coef[at] = int16_t(Extend(int((r.Peek() << length) >> (64 - size)), size));
      used |= kUsedBy2x2[at];
      r.Consume(unsigned(length + size));
    } else {
      r.Consume(unsigned(length));
      if (run != 15) break;
      k += 15;
    }
  }
  if (used) {
    ChromaDetail(coef, quant, detail);
  } else {
    // Only the rounding.
    detail[0] = detail[1] = detail[2] = detail[3] = 4;
  }
  return k > 64 ? kOverrun : kDecoded;
}

// Decodes the b-th block of an MCU; detail is the MCU's, for 4:2:0 chroma.
[[gnu::always_inline]] inline BlockResult DecodeBlockOf(BitReader& r, const Layout& layout, int b,
                                                        int& diff, int32_t* detail) {
  if (layout.chromaDetail && b >= layout.lumaBlocks) {
    return DecodeChromaBlock(r, *layout.dc[b], *layout.ac[b],
                             layout.quantTable[layout.component[b]], diff,
                             detail + (b - layout.lumaBlocks) * 4);
  }
  return DecodeBlock(r, *layout.dc[b], *layout.ac[b], diff);
}

// Decodes an MCU, keeping each block's DC coefficient as libjpeg does: the running sum of the
// differences, of which only the low 16 bits count. With kRecord, notes where each block began.
// Gives the worst of its blocks' results.
template <bool kRecord>
[[gnu::always_inline]] inline int DecodeMcu(BitReader& r, const Layout& layout, uint16_t pred[3],
                                            uint16_t* out, uint64_t* starts, int32_t* detail) {
  int result = kDecoded;
  for (int b = 0; b < layout.blocksPerMcu; ++b) {
    if constexpr (kRecord) starts[b] = r.Position();
    int diff;
    const BlockResult block = DecodeBlockOf(r, layout, b, diff, detail);
    if (block == kInvalid) return kInvalid;
    result |= block;
    uint16_t& p = pred[layout.component[b]];
    p = uint16_t(p + diff);
    out[b] = p;
  }
  return result;
}

}  // namespace tovak::jpeg_dc::detail
