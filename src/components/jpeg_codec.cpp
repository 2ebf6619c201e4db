#include "components/jpeg_codec.h"

#include <turbojpeg.h>

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "components/jpeg_dc_decoder.h"
#include "components/jpeg_markers.h"
#include "components/jpeg_scans.h"
#include "components/picture_colour.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

// Beyond this the lossless turn costs more memory than encoding the turned planes again, which
// holds about half of it.
constexpr uint64_t kMaxLosslessTurnBytes = uint64_t{512} << 20;

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
  if (!IsJpegStream(data, size)) {
    throw EPictureError(kNotJpeg);
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
  // Every decode, turn and re-encode starts here; the count costs one pass over the bytes.
  const JpegScans scans = CountJpegScans(data, size);
  if (TooManyJpegScans(scans)) {
    throw EPictureError("JPEG : too many scans to decode (" + std::to_string(scans.count) +
                        " scans, " +
                        std::to_string(scans.samples / std::max<uint64_t>(scans.frameSamples, 1)) +
                        " passes over the picture)");
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

// Adobe writes CMYK inverted, and nearly every CMYK JPEG in the wild comes from its tools; the
// libraries that read such files take the Adobe marker as the sign of it.
void CmykToRgb(QImage& image, const std::vector<uint8_t>& cmyk, bool inverted) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uint8_t* px = cmyk.data() + size_t(y) * image.width() * 4;
    for (int x = 0; x < image.width(); ++x, px += 4) {
      const int c = inverted ? px[0] : 255 - px[0];
      const int m = inverted ? px[1] : 255 - px[1];
      const int yy = inverted ? px[2] : 255 - px[2];
      const int k = inverted ? px[3] : 255 - px[3];
      line[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
    }
  }
}

bool IsCmyk(const Header& h) {
  return h.colorspace == TJCS_CMYK || h.colorspace == TJCS_YCCK;
}

QImage DecodeStored(void* handle, const Header& h, const uint8_t* data, size_t size,
                    tjscalingfactor scale, bool adobe) {
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
  const bool cmyk = IsCmyk(h);
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
  if (tjDecompress2(handle, data, static_cast<unsigned long>(size), target, width, pitch, height,
                    format, 0) != 0) {
    const std::string text = ErrorText(handle);
    // Some cameras leave harmless oddities that the decoder only warns about; a stream that
    // ends early is not one of them.
    if (tjGetErrorCode(handle) == TJERR_FATAL || text.find("Premature end") != std::string::npos) {
      throw EPictureError("JPEG : " + text);
    }
  }
  if (cmyk) CmykToRgb(image, cmykPixels, adobe);
  return image;
}

int TransformOf(int orientation) {
  switch (orientation) {
    case 2:
      return TJXOP_HFLIP;
    case 3:
      return TJXOP_ROT180;
    case 4:
      return TJXOP_VFLIP;
    case 5:
      return TJXOP_TRANSPOSE;
    case 6:
      return TJXOP_ROT90;
    case 7:
      return TJXOP_TRANSVERSE;
    case 8:
      return TJXOP_ROT270;
    default:
      return TJXOP_NONE;
  }
}

}  // namespace

JpegHeader ReadJpegHeader(const uint8_t* data, size_t size) {
  Handle handle = OpenDecompressor();
  const Header h = ReadHeader(handle.get(), data, size);
  const JpegMarkers markers = ReadJpegMarkers(data, size);
  JpegHeader header;
  const bool swap = OrientationSwapsSides(markers.orientation);
  header.width = swap ? h.height : h.width;
  header.height = swap ? h.width : h.height;
  header.orientation = markers.orientation;
  header.cmyk = IsCmyk(h);
  header.foreignColours = !header.cmyk && NeedsSrgbConversion(markers.icc);
  return header;
}

QImage DecodeJpeg(const uint8_t* data, size_t size, int minWidth, int minHeight) {
  Handle handle = OpenDecompressor();
  const Header h = ReadHeader(handle.get(), data, size);
  const JpegMarkers markers = ReadJpegMarkers(data, size);
  // The minimum is asked for the upright picture; the decoder scales it as stored.
  if (OrientationSwapsSides(markers.orientation)) std::swap(minWidth, minHeight);
  const tjscalingfactor scale = ChooseScale(h, minWidth, minHeight);
  QImage image = DecodeStored(handle.get(), h, data, size, scale, markers.adobe);
  if (!IsCmyk(h)) ConvertToSrgb(image, markers.icc);
  return Oriented(std::move(image), markers.orientation);
}

std::vector<uint8_t> TurnJpegUpright(const uint8_t* data, size_t size, int orientation) {
  const int op = TransformOf(orientation);
  if (op == TJXOP_NONE) return {};
  Handle handle(tjInitTransform());
  if (!handle) return {};
  // The transform reads every coefficient before it finds that an edge block would move, which
  // for a panorama is hundreds of megabytes spent on nothing.
  Header h;
  try {
    h = ReadHeader(handle.get(), data, size);
  } catch (const EPictureError&) {
    return {};
  }
  if (h.subsampling < 0 || h.subsampling >= TJ_NUMSAMP) return {};
  const bool wholeColumns = h.width % tjMCUWidth[h.subsampling] == 0;
  const bool wholeRows = h.height % tjMCUHeight[h.subsampling] == 0;
  const bool movesRight =
      op == TJXOP_HFLIP || op == TJXOP_ROT180 || op == TJXOP_TRANSVERSE || op == TJXOP_ROT270;
  const bool movesBottom =
      op == TJXOP_VFLIP || op == TJXOP_ROT180 || op == TJXOP_TRANSVERSE || op == TJXOP_ROT90;
  if ((movesRight && !wholeColumns) || (movesBottom && !wholeRows)) return {};
  // It holds every coefficient twice, two bytes each: four times the decoded planes.
  const unsigned long planes = tjBufSizeYUV2(h.width, 1, h.height, h.subsampling);
  if (planes == static_cast<unsigned long>(-1) || 4 * uint64_t{planes} > kMaxLosslessTurnBytes) {
    return {};
  }
  tjtransform transform{};
  transform.op = op;
  // Dropping every marker drops the orientation tag with them; callers turn only pictures whose
  // colours need no profile.
  transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  const int rc = tjTransform(handle.get(), data, static_cast<unsigned long>(size), 1, &buffer,
                             &length, &transform, 0);
  std::unique_ptr<unsigned char, BufferFreer> owned(buffer);
  if (rc != 0 || !buffer) return {};
  return std::vector<uint8_t>(buffer, buffer + length);
}

std::vector<uint8_t> ReencodeJpegUpright(const uint8_t* data, size_t size, int orientation,
                                         int quality) {
  if (orientation < 2 || orientation > 8) return {};
  Handle handle = OpenDecompressor();
  const Header h = ReadHeader(handle.get(), data, size);
  const bool swap = OrientationSwapsSides(orientation);
  int turned = h.subsampling;
  if (h.subsampling == TJSAMP_422 && swap) turned = TJSAMP_440;
  if (h.subsampling == TJSAMP_440 && swap) turned = TJSAMP_422;
  if (IsCmyk(h) ||
      (h.subsampling != TJSAMP_444 && h.subsampling != TJSAMP_420 && h.subsampling != TJSAMP_422 &&
       h.subsampling != TJSAMP_440 && h.subsampling != TJSAMP_GRAY)) {
    return {};
  }
  // With an odd side the last chroma sample covers a single pixel, and turning its plane would
  // shift every chroma sample along that side by half a pixel.
  const bool subsampled = h.subsampling != TJSAMP_444 && h.subsampling != TJSAMP_GRAY;
  if (subsampled && (h.width % 2 != 0 || h.height % 2 != 0)) return {};
  const int count = h.subsampling == TJSAMP_GRAY ? 1 : 3;
  std::vector<uint8_t> stored[3], upright[3];
  unsigned char* planes[3] = {};
  int strides[3] = {};
  for (int i = 0; i < count; ++i) {
    strides[i] = tjPlaneWidth(i, h.width, h.subsampling);
    stored[i].resize(size_t(strides[i]) * tjPlaneHeight(i, h.height, h.subsampling));
    planes[i] = stored[i].data();
  }
  if (tjDecompressToYUVPlanes(handle.get(), data, static_cast<unsigned long>(size), planes, h.width,
                              strides, h.height, 0) != 0 &&
      tjGetErrorCode(handle.get()) == TJERR_FATAL) {
    return {};
  }
  // Plane by plane, so that the stored and the upright copies of only one are held at a time.
  const unsigned char* uprightPlanes[3] = {};
  int uprightStrides[3] = {};
  for (int i = 0; i < count; ++i) {
    const int w = strides[i];
    const int ph = tjPlaneHeight(i, h.height, h.subsampling);
    uprightStrides[i] = swap ? ph : w;
    upright[i].resize(stored[i].size());
    CopyUpright(stored[i].data(), w, w, ph, upright[i].data(), uprightStrides[i], orientation);
    std::vector<uint8_t>().swap(stored[i]);
    uprightPlanes[i] = upright[i].data();
  }
  Handle compressor(tjInitCompress());
  if (!compressor) return {};
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  const int rc = tjCompressFromYUVPlanes(compressor.get(), uprightPlanes, swap ? h.height : h.width,
                                         uprightStrides, swap ? h.width : h.height, turned, &buffer,
                                         &length, std::clamp(quality, 1, 100), 0);
  std::unique_ptr<unsigned char, BufferFreer> owned(buffer);
  if (rc != 0 || !buffer) return {};
  return std::vector<uint8_t>(buffer, buffer + length);
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
