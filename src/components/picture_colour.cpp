#include "components/picture_colour.h"

#include <lcms2.h>

#include <memory>
#include <string>

#include "components/picture_error.h"

namespace tovak {

namespace {

struct ProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

struct TransformCloser {
  void operator()(void* transform) const { cmsDeleteTransform(transform); }
};

// An RGB profile that is not sRGB itself, or null.
Profile ForeignRgbProfile(std::span<const uint8_t> icc) {
  if (icc.empty()) return nullptr;
  Profile profile(cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size())));
  if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData) return nullptr;
  char name[256] = {};
  cmsGetProfileInfoASCII(profile.get(), cmsInfoDescription, "en", "US", name, sizeof name);
  if (std::string(name).find("sRGB") != std::string::npos) return nullptr;
  return profile;
}

}  // namespace

QImage Oriented(QImage image, int orientation) {
  if (orientation < 2 || orientation > 8 || image.isNull()) return image;
  if (image.depth() != 32) image = image.convertToFormat(QImage::Format_RGB32);
  const int w = image.width();
  const int h = image.height();
  const bool swap = OrientationSwapsSides(orientation);
  QImage out(swap ? h : w, swap ? w : h, image.format());
  if (out.isNull()) throw EPictureError("not enough memory for the picture");
  CopyUpright(reinterpret_cast<const QRgb*>(image.constBits()), int(image.bytesPerLine() / 4), w, h,
              reinterpret_cast<QRgb*>(out.bits()), int(out.bytesPerLine() / 4), orientation);
  return out;
}

bool NeedsSrgbConversion(std::span<const uint8_t> icc) {
  return ForeignRgbProfile(icc) != nullptr;
}

void ConvertToSrgb(QImage& image, std::span<const uint8_t> icc) {
  const Profile source = ForeignRgbProfile(icc);
  if (!source || image.isNull()) return;
  const Profile srgb(cmsCreate_sRGBProfile());
  // QImage's 32-bit pixels lie B, G, R, A in memory on the little-endian machines this runs on.
  std::unique_ptr<void, TransformCloser> transform(cmsCreateTransform(
      source.get(), TYPE_BGRA_8, srgb.get(), TYPE_BGRA_8, INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA));
  if (!transform) return;
  if (image.depth() != 32) image = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    uchar* line = image.scanLine(y);
    cmsDoTransform(transform.get(), line, line, cmsUInt32Number(image.width()));
  }
}

}  // namespace tovak
