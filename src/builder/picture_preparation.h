#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "builder/pumped_step.h"
#include "components/jpeg_picture.h"
#include "components/picture_wait.h"

namespace tovak {

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Turns any supported picture into the JPEG a slideshow stores: loaded as it is (".JPG") or
// converted, shrunk to the limits keeping its proportions, and re-encoded at a chosen quality.
class PicturePreparation {
 public:
  int32_t MaxWidth = 0;   // largest stored width; no shrinking unless both limits are set
  int32_t MaxHeight = 0;  // largest stored height
  int32_t Quality = 0;    // 0: keep the encoding; else re-encode at its low byte (1..100)
  // A baseline or progressive JPEG that already fits the limits is stored as it is, its scans
  // byte for byte, whatever Quality says: a picture taken back out of a slideshow then loses
  // nothing a second time, and building it again gives the same record. Like every JPEG kept
  // as it is (Quality 0), it is decoded first and refused when it does not decode, and what
  // draws nothing (comments, camera data, bytes after its end) is left out.
  bool KeepFittingJpegs = false;

  // False exactly for the extension ".JPG" in any letter case; .jpeg and .jpe are converted.
  static bool NeedsConversion(const std::string& path);
  // Decodes a picture of any supported format into the object.
  static void LoadConverted(const std::string& path, JpegPicture& picture,
                            const KeepWaiting& keepWaiting = {});

  // Loads path directly or converted. Failures throw EPictureError; a ".JPG" that is not a
  // JPEG leaves its bytes in the object.
  static void Load(const std::string& path, JpegPicture& picture,
                   const KeepWaiting& keepWaiting = {});

  bool NeedsResize(const JpegPicture& picture) const;
  TRect FitRect(const JpegPicture& picture) const;
  void ShrinkPicture(JpegPicture& picture) const;
  void Reencode(JpegPicture& picture) const;

  // The one shrink-and-re-encode step of every preparation: shrinks when both limits are set
  // and the picture exceeds them, then re-encodes when Quality is set. afterStep runs after each
  // of the two steps that is enabled (the builder's checkpoints), also when nothing needed doing.
  // True when the picture was shrunk. A picture that does not decode throws EPictureError, also
  // one that would be kept as it is.
  // run, when given, carries out each of the two steps (afterStep stays on this thread), and
  // the turn or colour conversion a picture kept as it is may need.
  bool Finish(JpegPicture& picture, const std::function<void()>& afterStep = {},
              const StepRunner& run = {}) const;
};

// Whether bytes are a JPEG coded baseline or progressive (Huffman, 8 or 12 bit), the kinds every
// player decodes.
bool IsBaselineOrProgressiveJpeg(const std::vector<uint8_t>& bytes);

// The reduced size of a width x height picture within the limits. The ratio is rounded to a
// double and the product truncated from 64-bit-mantissa precision, so a ratio whose double lies
// just below its true value loses a pixel (1000 x 1000 in 640 x 480 gives 479 x 480).
TRect FitRect(int width, int height, int maxWidth, int maxHeight);

}  // namespace tovak
