#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tovak {

// Turns pixels stored with EXIF orientation 1..8 upright. Orientations 5 to 8 swap the sides.
QImage Oriented(QImage image, int orientation);
inline bool OrientationSwapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

// Copies w x h pixels stored with orientation 2..8 upright into dst, whose lines are dstStride
// pixels apart and which is h x w for orientations 5 to 8.
template <typename Pixel>
void CopyUpright(const Pixel* src, int srcStride, int w, int h, Pixel* dst, int dstStride,
                 int orientation) {
  for (int y = 0; y < h; ++y) {
    const Pixel* line = src + ptrdiff_t(y) * srcStride;
    for (int x = 0; x < w; ++x) {
      int tx = x, ty = y;
      switch (orientation) {
        case 2:
          tx = w - 1 - x;
          break;
        case 3:
          tx = w - 1 - x;
          ty = h - 1 - y;
          break;
        case 4:
          ty = h - 1 - y;
          break;
        case 5:
          tx = y;
          ty = x;
          break;
        case 6:
          tx = h - 1 - y;
          ty = x;
          break;
        case 7:
          tx = h - 1 - y;
          ty = w - 1 - x;
          break;
        case 8:
          tx = y;
          ty = w - 1 - x;
          break;
      }
      dst[ptrdiff_t(ty) * dstStride + tx] = line[x];
    }
  }
}

// Converts 32-bit pixels from the colours of an embedded ICC profile to sRGB, which every player
// of a slideshow assumes. Pictures without a profile, with an sRGB one, with a grey or an
// unreadable one are left as they are.
void ConvertToSrgb(QImage& image, std::span<const uint8_t> icc);

// Whether ConvertToSrgb would change anything.
bool NeedsSrgbConversion(std::span<const uint8_t> icc);

}  // namespace tovak
