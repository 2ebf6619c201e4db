#pragma once

#include <cstddef>
#include <cstdint>

#include "components/jpeg_dc/huffman_tables.h"

// The markers of a JPEG stream up to its first scan, as far as the eighth-scale decoder takes
// them.
namespace tovak::jpeg_dc::detail {

// Where the n-th coefficient in zigzag order goes; a run past the last lands on the last, as
// in libjpeg.
inline constexpr uint8_t kNatural[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

struct Component {
  int id = 0;
  int h = 1, v = 1;
  int quant = 0;
  int dcTable = 0, acTable = 0;
};

struct Stream {
  int width = 0, height = 0;
  int components = 0;
  Component comp[3];
  bool quantDefined[4] = {};
  int16_t quant[4][64] = {};  // in natural order, as the decoder keeps them: 16-bit signed
  RawTable dc[4], ac[4];
  int restartInterval = 0;
  size_t scanStart = 0;
  bool jfif = false, adobe = false;
  int adobeTransform = -1;
};

// Reads every marker up to the first scan: an 8-bit sequential Huffman-coded frame of one or
// three components, and a scan that holds them all. False for anything else, and for anything
// not entirely clean.
bool ReadStream(const uint8_t* data, size_t size, Stream& s);

// The colour space libjpeg infers for three components: YCbCr unless the stream says RGB.
bool IsYCbCr(const Stream& s);

}  // namespace tovak::jpeg_dc::detail
