#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "support/libjpeg_writer.h"

namespace tovak::testing {

// The contents of an APP1 marker holding only an EXIF orientation tag, big-endian as many
// cameras write it.
inline std::vector<uint8_t> ExifOrientationMarker(int orientation) {
  return {'E',  'x',  'i', 'f', 0, 0, 'M', 'M', 0, 42,
          0,    0,    0,   8,  // header, first directory at 8
          0,    1,             // one entry
          0x01, 0x12, 0,   3,   0, 0, 0,   1,   0, uint8_t(orientation),
          0,    0,    0,   0,   0, 0};  // no further directory
}

// image stored as a JPEG with the orientation tag.
inline std::vector<uint8_t> JpegWithOrientation(const QImage& stored, int orientation) {
  LibjpegOptions o;
  o.quality = 95;
  o.markers.push_back({0xE1, ExifOrientationMarker(orientation)});
  return EncodeWithLibjpeg(stored, o);
}

}  // namespace tovak::testing
