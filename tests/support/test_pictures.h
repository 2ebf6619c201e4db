#pragma once

#include <QImage>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tovak::testing {

// A smooth, photo-like picture: gradients with a few soft shapes, so that JPEG coding behaves as
// it does on real photos.
inline QImage PhotoLike(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const double u = double(x) / width, v = double(y) / height;
      const int r = int(127 + 120 * std::sin(6 * u + 2 * v));
      const int g = int(127 + 120 * std::cos(4 * v - 3 * u));
      const int b = int(127 + 120 * std::sin(9 * u * v + 1));
      line[x] = qRgb(r, g, b);
    }
  }
  return image;
}

}  // namespace tovak::testing
