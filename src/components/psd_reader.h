#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace tovak {

// Photoshop documents, read through the flattened copy of the picture that Photoshop stores after
// the layers. Bitmap, greyscale, duotone (shown as grey), indexed and RGB documents at 8 or 16
// bits, raw or PackBits-compressed, are read; every other kind is refused with a clear message.
// Both functions throw EPictureError; the messages do not name the file.

struct PsdHeader {
  int width = 0;
  int height = 0;
  int channels = 0;
  int depth = 0;  // bits per channel
  int mode = 0;   // Photoshop's colour mode number
  int bitsPerPixel = 0;
};

// Checks the fixed header alone (26 bytes): signature, version, colour mode, depth and size.
PsdHeader ReadPsdHeader(const uint8_t* data, size_t size);

// Decodes to Format_RGB32, or to Format_ARGB32 when the document records a transparent merged
// result. Every length in the file is checked against the data before it is used.
QImage DecodePsd(const uint8_t* data, size_t size);

}  // namespace tovak
