#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak {

// JPEG through libjpeg-turbo. Every function throws EPictureError on failure.

// The quality the encoder uses when none is chosen.
inline constexpr int kDefaultJpegQuality = 75;

struct JpegHeader {
  int width = 0;
  int height = 0;
};

// Reads the size from the stream's header without decoding it. Refuses data that is not a JPEG
// and pictures beyond kMaxPicturePixels.
JpegHeader ReadJpegHeader(const uint8_t* data, size_t size);

// Decodes to 32-bit RGB pixels. With a minimum size, the decoder's DCT scaling (1/8 .. 1) gives
// the smallest picture still at least that large, which is much faster than decoding in full.
// A stream cut short is an error rather than a picture with a grey bottom.
QImage DecodeJpeg(const uint8_t* data, size_t size, int minWidth = 0, int minHeight = 0);

// Encodes at quality 1..100 with 4:2:0 chroma. Transparent pixels are laid on white.
std::vector<uint8_t> EncodeJpeg(const QImage& image, int quality);

}  // namespace tovak
