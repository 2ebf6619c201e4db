#pragma once

#include <QImage>
#include <cstdint>
#include <utility>
#include <vector>

namespace tovak::testing {

struct LibjpegOptions {
  int components = 3;  // 1, 3 or 4 (CMYK)
  int h = 2, v = 2;    // luma sampling; chroma is 1 x 1
  int chromaH = 1, chromaV = 1;
  int quality = 85;
  int restartInterval = 0;  // in MCUs
  bool optimize = false;
  bool progressive = false;
  bool arithmetic = false;
  bool rgb = false;            // stored without the colour transform
  bool separateScans = false;  // one scan a component
  bool ink = false;            // 4 components: the colours as the inverted CMYK Adobe writes
  bool ycck = false;           // 4 components: stored as YCCK
  std::vector<std::pair<int, std::vector<uint8_t>>> markers;  // (marker, contents) after SOI
};

// Writes image through libjpeg with every knob the decoders care about.
std::vector<uint8_t> EncodeWithLibjpeg(const QImage& image, const LibjpegOptions& o);

}  // namespace tovak::testing
