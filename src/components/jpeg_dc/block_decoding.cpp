#include "components/jpeg_dc/block_decoding.h"

#include <algorithm>

namespace tovak::jpeg_dc::detail {

// Arithmetic as libjpeg's, in 64 bits so that no stream can overflow it.
void ChromaDetail(const int16_t* coef, const int16_t* quant, int32_t* detail) {
  auto z = [&](int i) { return int64_t{coef[i]} * quant[i]; };
  auto odd = [](int64_t v1, int64_t v3, int64_t v5, int64_t v7) {
    return v7 * -5906 + v5 * 6967 + v3 * -10426 + v1 * 29692;
  };
  int64_t ws[2][8];  // the first pass, without the DC term
  for (const int col : {0, 1, 3, 5, 7}) {
    const int64_t t = odd(z(8 + col), z(24 + col), z(40 + col), z(56 + col));
    const int64_t even = col == 0 ? 0 : 4 * z(col);
    ws[0][col] = even + ((t + 4096) >> 13);
    ws[1][col] = even + ((4096 - t) >> 13);
  }
  for (int row = 0; row < 2; ++row) {
    const int64_t t = odd(ws[row][1], ws[row][3], ws[row][5], ws[row][7]);
    const int64_t even = ws[row][0] * 32768 + 524288;
    detail[row * 2] = int32_t(std::clamp<int64_t>((even + t) >> 17, INT32_MIN, INT32_MAX));
    detail[row * 2 + 1] = int32_t(std::clamp<int64_t>((even - t) >> 17, INT32_MIN, INT32_MAX));
  }
}

}  // namespace tovak::jpeg_dc::detail
