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
  const bool limited = MaxWidth != 0 && MaxHeight != 0;
  const bool stream = !picture.Empty() && !picture.HoldsPixels();
  const bool keep = KeepFittingJpegs && stream && !picture.NeedsNormalising() &&
                    !(limited && NeedsResize(picture)) &&
                    IsBaselineOrProgressiveJpeg(picture.Bytes());
  // Neither shrunk nor encoded again: the stream is stored much as it came.
  const bool asStored = stream && !(limited && NeedsResize(picture)) && (Quality == 0 || keep);
  bool shrunk = false;
  if (MaxWidth != 0 && MaxHeight != 0) {
    if (!picture.Empty() && NeedsResize(picture)) {
      inStep([&] { ShrinkPicture(picture); });
      shrunk = true;
    }
    if (afterStep) afterStep();
  }
  if (Quality != 0) {
    if (!picture.Empty() && !keep) inStep([&] { Reencode(picture); });
    if (afterStep) afterStep();
  }
  // A picture kept as it is is decoded first: a cut or damaged one would be stored without a
  // word and fail in every player. It may still need turning upright or its colours made
  // sRGB, which for a large one takes as long as the steps above.
  if (asStored) inStep([&] { picture.KeepAsStored(); });
  return shrunk;
}

bool IsBaselineOrProgressiveJpeg(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
  // Walk the marker segments up to the frame header, which names the coding.
  size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (bytes[at] != 0xFF) return false;
    const uint8_t marker = bytes[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) return true;
    if (marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return false;  // lossless, hierarchical or arithmetic coding
    if (marker == 0xD9 || marker == 0xDA) return false;  // no frame before the data
    at += 2 + ((size_t{bytes[at + 2]} << 8) | bytes[at + 3]);
  }
  return false;
}

}  // namespace tovak
