#pragma once

#include <QImage>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "components/picture_wait.h"

namespace tovak {

// GraphicsMagick, for the formats Qt has no reader for (PCX, PICT, PCD, WMF, EPS, TGA) and for
// files Qt's readers reject. The coder is always named ("PCX", "PICT", "PCD", "WMF", "EPS",
// "EPT", "TGA", "BMP", ...): letting the library guess from the content would also reach coders
// that run scripts or read other files. Both functions throw EPictureError; the messages do not
// name the file.
//
// The library lives in a module, libtovak_magick.so, loaded on first use from beside the
// program (or, for programs run inside the build tree, from where the build put it): most runs
// never need it, and loading it costs more than the rest of a run. Without the module every
// function here throws EPictureError saying so.

// Vector pictures (WMF, EPS) are drawn at this resolution, a screen's, so that a drawing of a few
// inches becomes a few hundred pixels.
inline constexpr int kVectorDensity = 96;

// Vector pictures are drawn by tovak-magick-worker, a program beside this one, since a drawing
// may never end: past this long it is killed and the picture fails ("took too long to draw").
// While it draws, keepWaiting is asked every few hundredths of a second; when it returns false
// the drawing is killed at once ("drawing was cancelled").
inline constexpr std::chrono::milliseconds kVectorDrawingLimit{10'000};

// Changes that limit for the rest of the process (the tests shorten it).
void SetVectorDrawingLimit(std::chrono::milliseconds limit);

// Loads the module and starts the library once for the whole process, without its signal
// handlers, and caps its resources so that a picture beyond kMaxPicturePixels or about 1 GiB
// fails instead of allocating. Every function here calls it; whoever uses Magick++ directly
// calls it first.
void StartMagick();

// Opens the module at path and starts it, throwing EPictureError with the reason when it is
// missing, is not this program's module, or fails to start.
void CheckMagickModule(const std::string& path);

struct MagickHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int pageCount = 1;
};

// Reads the size of the first frame, and the number of frames, without decoding the pixels. Not
// for EPS: the library renders PostScript even to learn its size.
MagickHeader PingWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                            const KeepWaiting& keepWaiting = {});

// Decodes the first frame or page to Format_RGB32, or Format_ARGB32 when it has transparency.
// Photo CD gives its 768 x 512 base image.
QImage DecodeWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                        const KeepWaiting& keepWaiting = {});

}  // namespace tovak
