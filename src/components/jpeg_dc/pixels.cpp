#include "components/jpeg_dc/pixels.h"

#include <algorithm>
#include <cstdint>

namespace tovak::jpeg_dc::detail {

namespace {

// Turns a DC coefficient into a sample as libjpeg's 1x1 inverse DCT does: scaled down by 8
// around mid-grey, then through its range-limit table (which wraps far-out values).
struct RangeLimit {
  uint8_t table[1024];
  constexpr RangeLimit() : table() {
    for (int x = 0; x < 1024; ++x) {
      table[x] = x < 128 ? uint8_t(x + 128) : x < 512 ? 255 : x < 896 ? 0 : uint8_t(x - 896);
    }
  }
};
constexpr RangeLimit kRangeLimit;

inline uint8_t Sample(uint16_t coefficient, int quant) {
  return kRangeLimit.table[((int16_t(coefficient) * quant + 4) >> 3) & 1023];
}

// A sample of 4:2:0 chroma's 2x2 inverse DCT. Clears inRange where libjpeg-turbo's two versions
// of it may disagree (see ChromaDetail): the DC term does not fit 16 bits, or the sample lies
// more than 384 outside the range.
inline uint8_t Sample(uint16_t coefficient, int quant, int32_t detail, bool& inRange) {
  const int32_t dc = int16_t(coefficient) * quant;
  const int64_t x = (int64_t{dc} + detail) >> 3;
  inRange &= dc >= INT16_MIN && dc <= INT16_MAX && x >= -512 && x < 512;
  return kRangeLimit.table[x & 1023];
}

// libjpeg's YCbCr to RGB conversion, to the bit.
struct ColourTables {
  int crR[256], cbB[256], crG[256], cbG[256];
  ColourTables() {
    constexpr int kBits = 16;
    constexpr int64_t kHalf = int64_t{1} << (kBits - 1);
    auto fix = [](double x) { return int64_t(x * (1 << kBits) + 0.5); };
    for (int i = 0; i < 256; ++i) {
      const int64_t x = i - 128;
      crR[i] = int((fix(1.40200) * x + kHalf) >> kBits);
      cbB[i] = int((fix(1.77200) * x + kHalf) >> kBits);
      crG[i] = int(-fix(0.71414) * x);
      cbG[i] = int(-fix(0.34414) * x + kHalf);
    }
  }
};

inline uint32_t Clamp(int x) {
  return uint32_t(std::clamp(x, 0, 255));
}

// Writes the pixels of MCU rows [rowBegin, rowEnd), for kComponents components and luma blocks
// kH across and kV down an MCU. Chroma at an eighth: 4:2:2 and 4:4:0 are widened by repeating
// samples, 4:2:0 comes from its 2x2 inverse DCT, with the detail of each sample. False when a
// 4:2:0 chroma sample is out of its range.
template <int kComponents, int kH, int kV>
bool ConvertRows(const Layout& layout, const uint16_t* values, const int32_t* detail, uint8_t* bits,
                 size_t stride, int rowBegin, int rowEnd) {
  static const ColourTables t;
  constexpr int kBlocks = kComponents == 1 ? 1 : kH * kV + 2;
  const int q0 = layout.quant[0], q1 = layout.quant[1], q2 = layout.quant[2];
  bool inRange = true;
  for (int my = rowBegin; my < rowEnd; ++my) {
    const uint16_t* v = values + size_t(my) * layout.mcusX * kBlocks;
    if constexpr (kComponents == 1) {
      auto* line = reinterpret_cast<uint32_t*>(bits + size_t(my) * stride);
      for (int mx = 0; mx < layout.mcusX; ++mx) {
        line[mx] = 0xFF000000u | Sample(v[mx], q0) * 0x010101u;
      }
    } else if constexpr (kH == 2 && kV == 2) {
      const int32_t* d = detail + size_t(my) * layout.mcusX * 8;
      for (int mx = 0; mx < layout.mcusX; ++mx, v += kBlocks, d += 8) {
        for (int by = 0; by < 2; ++by) {
          const int y = my * 2 + by;
          if (y >= layout.height) break;
          auto* line = reinterpret_cast<uint32_t*>(bits + size_t(y) * stride);
          for (int bx = 0; bx < 2; ++bx) {
            const int x = mx * 2 + bx;
            if (x >= layout.width) break;
            const int l = Sample(v[by * 2 + bx], q0);
            const int cb = Sample(v[4], q1, d[by * 2 + bx], inRange);
            const int cr = Sample(v[5], q2, d[4 + by * 2 + bx], inRange);
            line[x] = 0xFF000000u | Clamp(l + t.crR[cr]) << 16 |
                      Clamp(l + ((t.cbG[cb] + t.crG[cr]) >> 16)) << 8 | Clamp(l + t.cbB[cb]);
          }
        }
      }
    } else {
      for (int mx = 0; mx < layout.mcusX; ++mx, v += kBlocks) {
        const int cb = Sample(v[kH * kV], q1), cr = Sample(v[kH * kV + 1], q2);
        const int red = t.crR[cr], green = (t.cbG[cb] + t.crG[cr]) >> 16, blue = t.cbB[cb];
        for (int by = 0; by < kV; ++by) {
          const int y = my * kV + by;
          if (kV > 1 && y >= layout.height) break;
          auto* line = reinterpret_cast<uint32_t*>(bits + size_t(y) * stride);
          for (int bx = 0; bx < kH; ++bx) {
            const int x = mx * kH + bx;
            if (kH > 1 && x >= layout.width) break;
            const int l = Sample(v[by * kH + bx], q0);
            line[x] = 0xFF000000u | Clamp(l + red) << 16 | Clamp(l + green) << 8 | Clamp(l + blue);
          }
        }
      }
    }
  }
  return inRange;
}

}  // namespace

bool Convert(const Layout& layout, const uint16_t* values, const int32_t* detail, uint8_t* bits,
             size_t stride, int rowBegin, int rowEnd) {
  auto convert = [&](auto rows) {
    return rows(layout, values, detail, bits, stride, rowBegin, rowEnd);
  };
  if (layout.components == 1) return convert(ConvertRows<1, 1, 1>);
  if (layout.hY == 1 && layout.vY == 1) return convert(ConvertRows<3, 1, 1>);
  if (layout.hY == 2 && layout.vY == 1) return convert(ConvertRows<3, 2, 1>);
  if (layout.hY == 1 && layout.vY == 2) return convert(ConvertRows<3, 1, 2>);
  return convert(ConvertRows<3, 2, 2>);
}

}  // namespace tovak::jpeg_dc::detail
