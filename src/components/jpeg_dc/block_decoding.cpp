#include "components/jpeg_dc/block_decoding.h"

#include <cstdint>
#include <initializer_list>

namespace tovak::jpeg_dc::detail {

namespace {

int64_t Odd(int64_t v1, int64_t v3, int64_t v5, int64_t v7) {
  return v7 * -5906 + v5 * 6967 + v3 * -10426 + v1 * 29692;
}

bool Fits16(int64_t v) {
  return v >= INT16_MIN && v <= INT16_MAX;
}

// Whether libjpeg-turbo's SIMD inverse DCT works out the AC terms of this block as its C one
// does: every dequantised term fits 16 bits, the first pass's sums 32 bits (whatever the DC
// term, which fits 16 bits too), and the values it hands on to the second pass 16 bits.
bool SimdAgrees(const int16_t* coef, const int16_t* quant) {
  auto z = [&](int i) { return int64_t{coef[i]} * quant[i]; };
  constexpr int64_t kOddLimit = (int64_t{1} << 30) - 4096;
  bool agrees = true;
  for (const int col : {0, 1, 3, 5, 7}) {
    for (const int row : {0, 1, 3, 5, 7}) agrees &= Fits16(z(row * 8 + col));
    const int64_t t = Odd(z(8 + col), z(24 + col), z(40 + col), z(56 + col));
    agrees &= t >= -kOddLimit && t <= kOddLimit;
    if (col != 0) {
      const int64_t even = 4 * z(col);
      agrees &= Fits16(even + ((t + 4096) >> 13)) && Fits16(even + ((4096 - t) >> 13));
    }
  }
  return agrees;
}

}  // namespace

// Arithmetic as libjpeg's, in 64 bits.
void ChromaDetail(const int16_t* coef, const int16_t* quant, int32_t* detail) {
  // Terms within 2048 of zero keep every value well within the limits, and telling is cheap
  // across the whole block (it vectorises); larger ones are looked at one by one.
  uint32_t spread = 0;
  for (int i = 0; i < 64; ++i) spread |= uint32_t(coef[i] * quant[i] + 2048);
  if (spread >= 4096 && !SimdAgrees(coef, quant)) [[unlikely]] {
    detail[0] = detail[1] = detail[2] = detail[3] = kOutOfRange;
    return;
  }
  auto z = [&](int i) { return int64_t{coef[i]} * quant[i]; };
  int64_t ws[2][8];  // the first pass, without the DC term
  for (const int col : {0, 1, 3, 5, 7}) {
    const int64_t t = Odd(z(8 + col), z(24 + col), z(40 + col), z(56 + col));
    const int64_t even = col == 0 ? 0 : 4 * z(col);
    ws[0][col] = even + ((t + 4096) >> 13);
    ws[1][col] = even + ((4096 - t) >> 13);
  }
  // Within those limits every detail fits 32 bits with room to spare.
  for (int row = 0; row < 2; ++row) {
    const int64_t t = Odd(ws[row][1], ws[row][3], ws[row][5], ws[row][7]);
    const int64_t even = ws[row][0] * 32768 + 524288;
    detail[row * 2] = int32_t((even + t) >> 17);
    detail[row * 2 + 1] = int32_t((even - t) >> 17);
  }
}

}  // namespace tovak::jpeg_dc::detail
