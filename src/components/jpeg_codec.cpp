#include "components/jpeg_codec.h"

#include <turbojpeg.h>

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "components/jpeg_dc_decoder.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

struct HandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct BufferFreer {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

std::string ErrorText(void* handle) {
  const char* text = tjGetErrorStr2(handle);
  return text ? text : "unknown error";
}

Handle OpenDecompressor() {
  Handle handle(tjInitDecompress());
  if (!handle) throw EPictureError("JPEG : cannot start the decoder");
  return handle;
}

struct Header {
  int width = 0;
  int height = 0;
  int subsampling = 0;
  int colorspace = 0;
};

Header ReadHeader(void* handle, const uint8_t* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
    throw EPictureError("JPEG : not a JPEG file");
  }
  Header h;
  if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &h.width, &h.height,
                          &h.subsampling, &h.colorspace) != 0) {
    throw EPictureError("JPEG : " + ErrorText(handle));
  }
  if (h.width <= 0 || h.height <= 0) throw EPictureError("JPEG : the picture has no size");
  if (int64_t{h.width} * h.height > kMaxPicturePixels) {
    throw EPictureError("JPEG : the picture is too large (" + std::to_string(h.width) + " x " +
                        std::to_string(h.height) + ")");
  }
  return h;
}

// The smallest of the decoder's scaling factors that keeps the picture at least min large.
tjscalingfactor ChooseScale(const Header& h, int minWidth, int minHeight) {
  tjscalingfactor best = {1, 1};
  if (minWidth <= 0 && minHeight <= 0) return best;
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  int bestWidth = h.width;
  for (int i = 0; factors && i < count; ++i) {
    const tjscalingfactor f = factors[i];
    if (f.num > f.denom) continue;  // never enlarge
    const int w = TJSCALED(h.width, f);
    const int hh = TJSCALED(h.height, f);
    if (w >= minWidth && hh >= minHeight && w < bestWidth) {
      best = f;
      bestWidth = w;
    }
  }
  return best;
}

// Adobe writes CMYK JPEGs inverted; that is what nearly every CMYK JPEG in the wild is.
void CmykToRgb(QImage& image, const std::vector<uint8_t>& cmyk) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uint8_t* px = cmyk.data() + size_t(y) * image.width() * 4;
    for (int x = 0; x < image.width(); ++x, px += 4) {
      const int k = px[3];
      line[x] = qRgb(px[0] * k / 255, px[1] * k / 255, px[2] * k / 255);
    }
  }
}

}  // namespace

JpegHeader ReadJpegHeader(const uint8_t* data, size_t size) {
  Handle handle = OpenDecompressor();
  const Header h = ReadHeader(handle.get(), data, size);
  return {h.width, h.height};
}

QImage DecodeJpeg(const uint8_t* data, size_t size, int minWidth, int minHeight) {
  Handle handle = OpenDecompressor();
  const Header h = ReadHeader(handle.get(), data, size);
  const tjscalingfactor scale = ChooseScale(h, minWidth, minHeight);
  const int width = TJSCALED(h.width, scale);
  const int height = TJSCALED(h.height, scale);

  // At 1/8 only the DC coefficients count (and a few AC terms of 4:2:0 chroma): a decoder that
  // reads nothing else, on two threads, gives the same pixels several times faster. It
  // declines whatever it does not handle.
  if (scale.num == 1 && scale.denom == 8) {
    QImage quick = DecodeJpegDcOnly(data, size);
    if (!quick.isNull() && quick.width() == width && quick.height() == height) return quick;
  }

  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) throw EPictureError("JPEG : not enough memory for the picture");
  const bool cmyk = h.colorspace == TJCS_CMYK || h.colorspace == TJCS_YCCK;
  std::vector<uint8_t> cmykPixels;
  unsigned char* target = image.bits();
  int pitch = static_cast<int>(image.bytesPerLine());
  if (cmyk) {
    cmykPixels.resize(size_t(width) * height * 4);
    target = cmykPixels.data();
    pitch = width * 4;
  }
  // QImage's RGB32 is 0xffRRGGBB in native order: B, G, R, X in memory on little-endian machines.
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel layout assumes a little-endian machine");
  const int format = cmyk ? TJPF_CMYK : TJPF_BGRX;
  if (tjDecompress2(handle.get(), data, static_cast<unsigned long>(size), target, width, pitch,
                    height, format, 0) != 0) {
    const std::string text = ErrorText(handle.get());
    // Some cameras leave harmless oddities that the decoder only warns about; a stream that
    // ends early is not one of them.
    if (tjGetErrorCode(handle.get()) == TJERR_FATAL ||
        text.find("Premature end") != std::string::npos) {
      throw EPictureError("JPEG : " + text);
    }
  }
  if (cmyk) CmykToRgb(image, cmykPixels);
  return image;
}

std::vector<uint8_t> EncodeJpeg(const QImage& source, int quality) {
  if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
    throw EPictureError("JPEG : there is no picture to encode");
  }
  QImage image;
  if (source.hasAlphaChannel()) {
    image = QImage(source.size(), QImage::Format_RGB32);
    if (image.isNull()) throw EPictureError("JPEG : not enough memory for the picture");
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, source);
  } else {
    image = source.convertToFormat(QImage::Format_RGB32);
  }
  Handle handle(tjInitCompress());
  if (!handle) throw EPictureError("JPEG : cannot start the encoder");
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  const int rc = tjCompress2(handle.get(), image.constBits(), image.width(),
                             static_cast<int>(image.bytesPerLine()), image.height(), TJPF_BGRX,
                             &buffer, &length, TJSAMP_420, std::clamp(quality, 1, 100), 0);
  std::unique_ptr<unsigned char, BufferFreer> owned(buffer);
  if (rc != 0) throw EPictureError("JPEG : " + ErrorText(handle.get()));
  return std::vector<uint8_t>(buffer, buffer + length);
}

}  // namespace tovak
