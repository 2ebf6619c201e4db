#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak {

// What a JPEG's application markers say about how its pixels are to be shown.
struct JpegMarkers {
  int orientation = 1;       // EXIF orientation, 1 (upright) .. 8
  bool adobe = false;        // an Adobe marker: CMYK is stored inverted
  std::vector<uint8_t> icc;  // the embedded colour profile, empty when none or incomplete
};

// Reads the markers before the first scan. Never throws: whatever is malformed is ignored, as
// the decoder itself decides whether the picture is readable.
JpegMarkers ReadJpegMarkers(const uint8_t* data, size_t size);

}  // namespace tovak
