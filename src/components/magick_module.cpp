// libtovak_magick.so: GraphicsMagick behind the plain interface of magick_module.h. Links
// nothing of the program's own; failures leave as messages, never as exceptions.

#include "components/magick_module.h"

#include <Magick++.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace {

// The pixel cache takes 8 bytes a pixel (16-bit samples): 100 megapixels fit, just, where the
// coder keeps no second copy of the picture.
constexpr int64_t kMemoryLimit = int64_t{1} << 30;

// Photo CD keeps several resolutions; the third is the 768 x 512 base image.
constexpr unsigned kPhotoCdBaseImage = 3;

int64_t maxPixels = 0;

struct Failure {
  std::string message;
};

[[noreturn]] void Damaged() {
  throw Failure{"the picture is damaged or truncated"};
}

void CheckSize(size_t width, size_t height) {
  if (width == 0 || height == 0) Damaged();
  if (width > size_t(maxPixels) || height > size_t(maxPixels) ||
      int64_t(width) * int64_t(height) > maxPixels) {
    throw Failure{"the picture is too large (" + std::to_string(width) + " x " +
                  std::to_string(height) + ")"};
  }
}

bool IsVector(const std::string& coder) {
  return coder == "WMF" || coder == "EPS" || coder == "EPT";
}

void Prepare(Magick::Image& image, const std::string& coder, int density) {
  // A "CODER:" file name is what makes the library take the coder as given instead of guessing
  // from the first bytes.
  image.fileName(coder + ":");
  image.subRange(1);
  image.subImage(coder == "PCD" ? kPhotoCdBaseImage : 0);
  if (IsVector(coder)) image.density(Magick::Geometry(density, density));
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

void Copy(const std::string& text, char* message) {
  std::snprintf(message, TOVAK_MAGICK_MESSAGE_SIZE, "%s", text.c_str());
}

// Runs body, turning whatever it throws into a message.
template <typename Body>
int Guarded(char* message, Body body) {
  try {
    body();
    return 0;
  } catch (const Failure& f) {
    Copy(f.message, message);
  } catch (const Magick::ErrorResourceLimit&) {
    Copy("the picture is too large to be read", message);
  } catch (const Magick::ErrorDelegate&) {
    Copy("the picture could not be drawn (it may be damaged)", message);
  } catch (const Magick::ErrorMissingDelegate&) {
    Copy("pictures of this kind cannot be read", message);
  } catch (const Magick::Exception&) {
    Copy("the picture is damaged or truncated", message);
  } catch (const std::bad_alloc&) {
    Copy("not enough memory for the picture", message);
  } catch (...) {
    Copy("the picture could not be read", message);
  }
  return 1;
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

}  // namespace

extern "C" {

[[gnu::visibility("default")]] int tovak_magick_interface(void) {
  return TOVAK_MAGICK_INTERFACE;
}

[[gnu::visibility("default")]] int tovak_magick_start(int64_t pixels, char* message) {
  static std::once_flag once;
  return Guarded(message, [&] {
    std::call_once(once, [&] {
      maxPixels = pixels;
      MagickLib::ExceptionInfo exception;
      MagickLib::GetExceptionInfo(&exception);
      // The program and its tests keep their own signal handling.
      MagickLib::InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
      MagickLib::DestroyExceptionInfo(&exception);
      MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, pixels);
      MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, kMemoryLimit);
      // Past the memory limit the library would page pixels to a temporary file: fail instead.
      MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
    });
  });
}

[[gnu::visibility("default")]] int tovak_magick_ping(const uint8_t* data, size_t size,
                                                     const char* coderName, int density,
                                                     TovakMagickHeader* header, char* message) {
  return Guarded(message, [&] {
    const std::string coder = coderName;
    const Magick::Blob blob(data, size);
    Magick::Image image;
    Prepare(image, coder, density);
    Read(image, blob, true);
    CheckSize(image.columns(), image.rows());
    header->width = static_cast<int>(image.columns());
    header->height = static_cast<int>(image.rows());
    header->bitsPerPixel = IsVector(coder) ? 24 : BitsPerPixel(image);
    header->pageCount = coder == "TIFF" || coder == "GIF" ? CountFrames(data, size, coder) : 1;
  });
}

[[gnu::visibility("default")]] int tovak_magick_decode(const uint8_t* data, size_t size,
                                                       const char* coderName, int density,
                                                       TovakMagickAllocate allocate, void* context,
                                                       char* message) {
  return Guarded(message, [&] {
    const std::string coder = coderName;
    Magick::Image image;
    {
      // The library keeps its own copy of the file; it goes before the pixels are converted.
      const Magick::Blob blob(data, size);
      if (coder != "EPS" && coder != "EPT") {
        // The header alone first, so a declared size beyond the limit fails before any pixels
        // are allocated.
        Magick::Image header;
        Prepare(header, coder, density);
        Read(header, blob, true);
        CheckSize(header.columns(), header.rows());
      }
      Prepare(image, coder, density);
      Read(image, blob, false);
    }
    const size_t width = image.columns();
    const size_t height = image.rows();
    CheckSize(width, height);
    if (image.colorSpace() == Magick::CMYKColorspace) image.colorSpace(Magick::RGBColorspace);
    uint8_t* pixels =
        allocate(context, static_cast<int>(width), static_cast<int>(height), image.matte());
    if (!pixels) throw Failure{"not enough memory for the picture"};
    image.write(0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), "BGRA",
                Magick::CharPixel, pixels);
    // Without transparency some coders leave the fourth byte unset: make it opaque, so the same
    // file always gives the same pixels.
    if (!image.matte()) {
      for (size_t i = 3, end = width * height * 4; i < end; i += 4) pixels[i] = 0xFF;
    }
  });
}

}  // extern "C"
