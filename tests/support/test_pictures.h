#pragma once

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
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

// A 12-megapixel photo as a camera takes it: smooth pictures compress far better than photos, so
// grain brings the pixels to a camera's entropy (and its file to a camera's size once encoded).
inline QImage CameraLike(uint32_t seed, int width = 4000, int height = 3000) {
  QImage image = PhotoLike(width, height);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> grain(-24, 24);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int n = grain(random);
      line[x] = qRgb(std::clamp(qRed(line[x]) + n, 0, 255), std::clamp(qGreen(line[x]) + n, 0, 255),
                     std::clamp(qBlue(line[x]) + n, 0, 255));
    }
  }
  return image;
}

}  // namespace tovak::testing
