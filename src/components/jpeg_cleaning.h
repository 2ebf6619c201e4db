#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak {

// The same JPEG with only what draws it: the frame, the tables, every scan and its entropy-coded
// data byte for byte, the JFIF and Adobe markers that tell how colours are stored, a complete
// colour profile, and the orientation as a minimal EXIF block when it is not upright. Comments,
// camera data (positions, thumbnails, maker notes), other application markers, stray bytes
// between markers and whatever follows the end of the picture are dropped, so every decoder
// draws the same pixels from it. Empty when the markers cannot be followed to the end of the
// picture.
std::vector<uint8_t> JpegWithoutExtras(const uint8_t* data, size_t size);

}  // namespace tovak
