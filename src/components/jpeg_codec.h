#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak {

// JPEG through libjpeg-turbo. Every function throws EPictureError on failure.

// The quality the encoder uses when none is chosen.
inline constexpr int kDefaultJpegQuality = 75;
// The quality of a picture that was to be kept as it is but had to be encoded again.
inline constexpr int kKeptJpegQuality = 92;

struct JpegHeader {
  int width = 0;  // upright, as DecodeJpeg gives the picture
  int height = 0;
  int orientation = 1;          // EXIF orientation of the stored pixels
  bool cmyk = false;            // CMYK or YCCK, which players read unreliably
  bool foreignColours = false;  // an embedded colour profile other than sRGB
};

// Reads the size from the stream's header without decoding it. Refuses data that is not a JPEG,
// pictures beyond kMaxPicturePixels and scans that would hold a decoder far longer than any
// photo does (TooManyJpegScans); so do all the functions below.
JpegHeader ReadJpegHeader(const uint8_t* data, size_t size);

// Decodes to upright 32-bit sRGB pixels: the EXIF orientation applied, CMYK and embedded colour
// profiles converted. With a minimum size, the decoder's DCT scaling (1/8 .. 1) gives
// the smallest picture still at least that large, which is much faster than decoding in full.
// A stream cut short is an error rather than a picture with a grey bottom.
QImage DecodeJpeg(const uint8_t* data, size_t size, int minWidth = 0, int minHeight = 0);

// The same picture turned upright without decoding it, and without any of its markers; empty
// when the size does not allow a lossless turn (partial blocks at the edges that would move) or
// the picture is so large that the turn would hold more than 512 MiB of coefficients.
std::vector<uint8_t> TurnJpegUpright(const uint8_t* data, size_t size, int orientation);

// The same picture turned upright and encoded again from its decoded planes, without a round trip
// through RGB and holding about the planes twice; empty for CMYK, unusual subsampling or a
// stream that does not decode.
std::vector<uint8_t> ReencodeJpegUpright(const uint8_t* data, size_t size, int orientation,
                                         int quality);

// Encodes at quality 1..100 with 4:2:0 chroma. Transparent pixels are laid on white.
std::vector<uint8_t> EncodeJpeg(const QImage& image, int quality);

}  // namespace tovak
