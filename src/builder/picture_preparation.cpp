#include "builder/picture_preparation.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "common/files.h"
#include "components/picture_error.h"
#include "components/picture_file.h"

namespace tovak {

namespace {

// The sizes a stored slideshow picture gets depend on the exact rounding of the product; the
// platform's extended type must carry the 64-bit mantissa that rounding was defined with.
static_assert(std::numeric_limits<long double>::digits == 64,
              "picture sizes need 64-bit-mantissa extended precision");

int TruncatedProduct(int size, double ratio) {
  return static_cast<int>(std::trunc(static_cast<long double>(size) * ratio));
}

}  // namespace

TRect FitRect(int width, int height, int maxWidth, int maxHeight) {
  const double rW = static_cast<double>(maxWidth) / width;
  const double rH = static_cast<double>(maxHeight) / height;
  TRect rect;
  if (rW >= rH) {
    rect.right = TruncatedProduct(width, rH);
    rect.bottom = maxHeight;
  } else {
    rect.right = maxWidth;
    rect.bottom = TruncatedProduct(height, rW);
  }
  return rect;
}

bool PicturePreparation::NeedsConversion(const std::string& path) {
  return UpperExtension(path) != ".JPG";
}

void PicturePreparation::LoadConverted(const std::string& path, JpegPicture& picture,
                                       const KeepWaiting& keepWaiting) {
  picture.Assign(LoadPicture(path, keepWaiting));
}

void PicturePreparation::Load(const std::string& path, JpegPicture& picture,
                              const KeepWaiting& keepWaiting) {
  if (NeedsConversion(path)) {
    LoadConverted(path, picture, keepWaiting);
  } else {
    picture.LoadFromFile(path);
  }
}

bool PicturePreparation::NeedsResize(const JpegPicture& picture) const {
  return picture.Width() > MaxWidth || picture.Height() > MaxHeight;
}

TRect PicturePreparation::FitRect(const JpegPicture& picture) const {
  return tovak::FitRect(picture.Width(), picture.Height(), MaxWidth, MaxHeight);
}

void PicturePreparation::ShrinkPicture(JpegPicture& picture) const {
  const TRect rect = FitRect(picture);
  const int width = std::max(1, rect.right - rect.left);
  const int height = std::max(1, rect.bottom - rect.top);
  // A held JPEG is decoded straight to a reduced size when the decoder can, then averaged down
  // to the exact size.
  const QImage full = picture.Decode(width, height);
  QImage reduced = full.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (reduced.isNull()) throw EPictureError("Not enough memory to shrink the picture");
  picture.Assign(std::move(reduced));
}

void PicturePreparation::Reencode(JpegPicture& picture) const {
  QImage pixels = picture.Decode();
  picture.Assign(std::move(pixels));
  picture.CompressionQuality = std::clamp(Quality & 0xFF, 1, 100);
  picture.Compress();
}

bool PicturePreparation::Finish(JpegPicture& picture, const std::function<void()>& afterStep,
                                const StepRunner& run) const {
  const auto inStep = [&run](const std::function<void()>& step) { run ? run(step) : step(); };
  bool shrunk = false;
  if (MaxWidth != 0 && MaxHeight != 0) {
    if (!picture.Empty() && NeedsResize(picture)) {
      inStep([&] { ShrinkPicture(picture); });
      shrunk = true;
    }
    if (afterStep) afterStep();
  }
  if (Quality != 0) {
    if (!picture.Empty()) inStep([&] { Reencode(picture); });
    if (afterStep) afterStep();
  }
  // A picture kept as it is may still need turning upright or its colours made sRGB, which for
  // a large one takes as long as the steps above.
  if (picture.NeedsNormalising()) inStep([&] { picture.Compress(); });
  return shrunk;
}

}  // namespace tovak
