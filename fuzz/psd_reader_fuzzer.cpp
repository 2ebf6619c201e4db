// Photoshop documents: the header check alone, then the whole decoder.

#include <QImage>
#include <cstdint>
#include <vector>

#include "components/picture_error.h"
#include "components/psd_reader.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tovak::fuzz::Fail;
  // An exact copy: a zero-length input must not hand the decoder libFuzzer's spare bytes.
  const std::vector<uint8_t> bytes(data, data + size);
  tovak::PsdHeader header;
  bool headerRead = true;
  try {
    header = tovak::ReadPsdHeader(bytes.data(), bytes.size());
  } catch (const tovak::EPictureError&) {
    headerRead = false;
  }
  QImage image;
  try {
    image = tovak::DecodePsd(bytes.data(), bytes.size());
  } catch (const tovak::EPictureError&) {
    return 0;
  }
  if (!headerRead) Fail("PSD: decoded a document whose header it refuses");
  if (image.isNull() ||
      (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)) {
    Fail("PSD: the picture is not 32-bit");
  }
  if (image.width() != header.width || image.height() != header.height) {
    Fail("PSD: the picture's size is not the header's");
  }
  return 0;
}
