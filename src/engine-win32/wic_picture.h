#pragma once

#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "engine-win32/com_ptr.h"

namespace tovak {

// Decodes stored JPEG pictures with the system's imaging component and scales them with a
// filter that keeps detail when shrinking. COM must be initialised on the thread.
class WicPictures {
 public:
  WicPictures();
  bool Available() const { return bool(factory_); }

  // The decoded pixels of one picture, kept so a resize only scales again.
  class Picture {
   public:
    bool Valid() const { return bool(bitmap_); }
    int Width() const { return width_; }
    int Height() const { return height_; }

   private:
    friend class WicPictures;
    ComPtr<IWICBitmap> bitmap_;
    int width_ = 0;
    int height_ = 0;
  };

  // False when the bytes cannot be decoded whole, or hold more scans than a photo ever has.
  bool Decode(const std::vector<uint8_t>& jpeg, Picture& picture);
  // A 32-bit top-down bitmap of the picture at width x height; null on failure. The caller owns
  // it (DeleteObject).
  HBITMAP Scale(const Picture& picture, int width, int height);

 private:
  ComPtr<IWICImagingFactory> factory_;
};

}  // namespace tovak
