#pragma once

#include <QImage>
#include <cstdint>
#include <span>

namespace tovak {

// Turns pixels stored with EXIF orientation 1..8 upright. Orientations 5 to 8 swap the sides.
QImage Oriented(QImage image, int orientation);
inline bool OrientationSwapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

// Converts 32-bit pixels from the colours of an embedded ICC profile to sRGB, which every player
// of a slideshow assumes. Pictures without a profile, with an sRGB one, with a grey or an
// unreadable one are left as they are.
void ConvertToSrgb(QImage& image, std::span<const uint8_t> icc);

// Whether ConvertToSrgb would change anything.
bool NeedsSrgbConversion(std::span<const uint8_t> icc);

}  // namespace tovak
