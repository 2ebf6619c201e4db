#include "components/magick_decoder.h"

#include <Magick++.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>

#include "components/picture_error.h"

namespace tovak {

namespace {

// The pixel cache takes 8 bytes a pixel (16-bit samples): 100 megapixels fit, just, where the
// coder keeps no second copy of the picture.
constexpr int64_t kMemoryLimit = int64_t{1} << 30;

// Photo CD keeps several resolutions; the third is the 768 x 512 base image.
constexpr unsigned kPhotoCdBaseImage = 3;

[[noreturn]] void Damaged() {
  throw EPictureError("the picture is damaged or truncated");
}

void CheckSize(size_t width, size_t height) {
  if (width == 0 || height == 0) Damaged();
  if (width > size_t(kMaxPicturePixels) || height > size_t(kMaxPicturePixels) ||
      int64_t(width) * int64_t(height) > kMaxPicturePixels) {
    throw EPictureError("the picture is too large (" + std::to_string(width) + " x " +
                        std::to_string(height) + ")");
  }
}

bool IsVector(const std::string& coder) {
  return coder == "WMF" || coder == "EPS" || coder == "EPT";
}

void Prepare(Magick::Image& image, const std::string& coder) {
  // A "CODER:" file name is what makes the library take the coder as given instead of guessing
  // from the first bytes.
  image.fileName(coder + ":");
  image.subRange(1);
  image.subImage(coder == "PCD" ? kPhotoCdBaseImage : 0);
  if (IsVector(coder)) image.density(Magick::Geometry(kVectorDensity, kVectorDensity));
}

void Read(Magick::Image& image, const Magick::Blob& blob, bool ping) {
  try {
    if (ping) {
      image.ping(blob);
    } else {
      image.read(blob);
    }
  } catch (const Magick::WarningCorruptImage&) {
    throw;
  } catch (const Magick::Warning&) {
    // Unknown tags, odd profiles and the like: the picture itself was read.
  }
  if (!image.isValid()) Damaged();
}

template <typename Body>
auto Translate(Body body) {
  try {
    return body();
  } catch (const Magick::ErrorResourceLimit&) {
    throw EPictureError("the picture is too large to be read");
  } catch (const Magick::ErrorDelegate&) {
    throw EPictureError("the picture could not be drawn (it may be damaged)");
  } catch (const Magick::ErrorMissingDelegate&) {
    throw EPictureError("pictures of this kind cannot be read");
  } catch (const Magick::Exception&) {
    Damaged();
  } catch (const std::bad_alloc&) {
    throw EPictureError("not enough memory for the picture");
  }
}

int BitsPerPixel(const Magick::Image& image) {
  const int depth = static_cast<int>(std::min(image.depth(), 16u));
  if (image.classType() == Magick::PseudoClass) return std::min(depth, 8);
  return depth * (image.matte() ? 4 : 3);
}

// Magick++ keeps only the first frame of what it reads, so the frames are counted through the
// library's C interface.
int CountFrames(const uint8_t* data, size_t size, const std::string& coder) {
  std::unique_ptr<MagickLib::ImageInfo, decltype(&MagickLib::DestroyImageInfo)> info(
      MagickLib::CloneImageInfo(nullptr), MagickLib::DestroyImageInfo);
  std::snprintf(info->filename, sizeof info->filename, "%s:", coder.c_str());
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  MagickLib::Image* frames = MagickLib::PingBlob(info.get(), data, size, &exception);
  MagickLib::DestroyExceptionInfo(&exception);
  if (!frames) return 1;
  const auto count = MagickLib::GetImageListLength(frames);
  MagickLib::DestroyImageList(frames);
  return static_cast<int>(std::max<decltype(count)>(count, 1));
}

QImage ToQImage(Magick::Image& image) {
  const size_t width = image.columns();
  const size_t height = image.rows();
  CheckSize(width, height);
  if (image.colorSpace() == Magick::CMYKColorspace) image.colorSpace(Magick::RGBColorspace);
  QImage out(static_cast<int>(width), static_cast<int>(height),
             image.matte() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (out.isNull()) throw EPictureError("not enough memory for the picture");
  // QImage's 32-bit pixels are B, G, R, A in memory on little-endian machines, and its rows have
  // no padding at 4 bytes a pixel.
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel layout assumes a little-endian machine");
  image.write(0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), "BGRA",
              Magick::CharPixel, out.bits());
  return out;
}

}  // namespace

void StartMagick() {
  static std::once_flag once;
  std::call_once(once, [] {
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    // The program and its tests keep their own signal handling.
    MagickLib::InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
    MagickLib::DestroyExceptionInfo(&exception);
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, kMaxPicturePixels);
    MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, kMemoryLimit);
    // Past the memory limit the library would page pixels to a temporary file: fail instead.
    MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
  });
}

MagickHeader PingWithMagick(const uint8_t* data, size_t size, const std::string& coder) {
  StartMagick();
  return Translate([&] {
    const Magick::Blob blob(data, size);
    Magick::Image image;
    Prepare(image, coder);
    Read(image, blob, true);
    CheckSize(image.columns(), image.rows());
    MagickHeader header;
    header.width = static_cast<int>(image.columns());
    header.height = static_cast<int>(image.rows());
    header.bitsPerPixel = IsVector(coder) ? 24 : BitsPerPixel(image);
    if (coder == "TIFF" || coder == "GIF") header.pageCount = CountFrames(data, size, coder);
    return header;
  });
}

QImage DecodeWithMagick(const uint8_t* data, size_t size, const std::string& coder) {
  StartMagick();
  return Translate([&] {
    Magick::Image image;
    {
      // The library keeps its own copy of the file; it goes before the pixels are converted.
      const Magick::Blob blob(data, size);
      if (coder != "EPS" && coder != "EPT") {
        // The header alone first, so a declared size beyond the limit fails before any pixels
        // are allocated.
        Magick::Image header;
        Prepare(header, coder);
        Read(header, blob, true);
        CheckSize(header.columns(), header.rows());
      }
      Prepare(image, coder);
      Read(image, blob, false);
    }
    return ToQImage(image);
  });
}

}  // namespace tovak
