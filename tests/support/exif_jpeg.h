#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "components/jpeg_codec.h"

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
  std::vector<uint8_t> jpeg = EncodeJpeg(stored, 95);
  const std::vector<uint8_t> exif = ExifOrientationMarker(orientation);
  const size_t length = exif.size() + 2;
  std::vector<uint8_t> marker = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
  marker.insert(marker.end(), exif.begin(), exif.end());
  jpeg.insert(jpeg.begin() + 2, marker.begin(), marker.end());
  return jpeg;
}

}  // namespace tovak::testing
