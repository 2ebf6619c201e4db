// The eighth-scale JPEG decoder against libjpeg-turbo itself: whatever it decodes, libjpeg-turbo
// must accept and decode at 1/8 to the same pixels, and sharing the work between two threads
// must change nothing. What it cannot decode exactly it must refuse.

#include <turbojpeg.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "components/jpeg_codec.h"
#include "components/jpeg_dc_decoder.h"
#include "components/picture_error.h"
#include "harness.h"

namespace {

using tovak::fuzz::Fail;

// libjpeg-turbo at 1/8, as the full decoder calls it: a fatal error, or a stream that ends
// early, is a refusal; other warnings leave the picture as decoded.
// libjpeg-turbo's last complaint, for the report of a failure.
std::string warning;

QImage Reference(const std::vector<uint8_t>& jpeg) {
  warning.clear();
  tjhandle handle = tjInitDecompress();
  if (!handle) Fail("JPEG: libjpeg-turbo does not start");
  int width = 0, height = 0, sampling = 0, colourspace = 0;
  QImage image;
  if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &sampling,
                          &colourspace) == 0 ||
      tjGetErrorCode(handle) == TJERR_WARNING) {
    const tjscalingfactor eighth = {1, 8};
    image = QImage(TJSCALED(width, eighth), TJSCALED(height, eighth), QImage::Format_RGB32);
    if (image.isNull()) Fail("JPEG: no memory for libjpeg-turbo's picture");
    if (tjDecompress2(handle, jpeg.data(), jpeg.size(), image.bits(), image.width(),
                      int(image.bytesPerLine()), image.height(), TJPF_BGRX, 0) != 0) {
      warning = tjGetErrorStr2(handle);
      if (tjGetErrorCode(handle) == TJERR_FATAL ||
          warning.find("Premature end") != std::string::npos) {
        image = QImage();
      }
    }
  }
  tjDestroy(handle);
  return image;
}

}  // namespace

// Larger pictures are only decoded more slowly, not differently: both decoders would spend the
// search's time filling hundreds of megabytes.
constexpr int64_t kMostPixels = int64_t{1} << 24;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const tovak::JpegHeader header = tovak::ReadJpegHeader(data, size);
    if (int64_t{header.width} * header.height > kMostPixels) return 0;
  } catch (const tovak::EPictureError&) {
  }
  const std::vector<uint8_t> jpeg(data, data + size);
  const QImage serial = tovak::DecodeJpegDcOnly(jpeg.data(), jpeg.size(), 0.0);
  // Where the second thread starts depends on the input alone, so that a failure repeats.
  const double split = 0.05 + 0.9 * double(size % 101) / 100;
  if (tovak::DecodeJpegDcOnly(jpeg.data(), jpeg.size(), split) != serial) {
    Fail("JPEG: two threads gave another picture than one");
  }
  if (serial.isNull()) return 0;
  if (serial.format() != QImage::Format_RGB32) Fail("JPEG: the picture is not RGB32");
  const QImage reference = Reference(jpeg);
  if (reference.isNull()) {
    std::fprintf(stderr, "libjpeg-turbo: %s\n", warning.c_str());
    Fail("JPEG: decoded a stream libjpeg-turbo refuses");
  }
  if (serial.size() != reference.size()) Fail("JPEG: the picture's size is not libjpeg-turbo's");
  if (serial != reference) {
    for (int y = 0; y < serial.height(); ++y) {
      for (int x = 0; x < serial.width(); ++x) {
        if (serial.pixel(x, y) != reference.pixel(x, y)) {
          std::fprintf(stderr, "%dx%d: at (%d, %d) %08X where libjpeg-turbo has %08X (%s)\n",
                       serial.width(), serial.height(), x, y, serial.pixel(x, y),
                       reference.pixel(x, y), warning.c_str());
          Fail("JPEG: the pixels are not libjpeg-turbo's");
        }
      }
    }
  }
  return 0;
}
