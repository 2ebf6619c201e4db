#pragma once

#include <QImage>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "components/magick_decoder.h"
#include "components/picture_wait.h"

namespace tovak {

// Drawing a picture in tovak-magick-worker, a child process in a process group of its own, so
// that a drawing that never ends (PostScript may loop forever) can be abandoned: after limit,
// or as soon as keepWaiting returns false, the whole group (Ghostscript included) is killed and
// EPictureError says "took too long to draw" or "drawing was cancelled". The child is reaped
// before these return or throw, and whatever temporary files it left are removed.
struct MagickWorkerJob {
  std::string worker;  // the program
  std::string module;  // the libtovak_magick.so it loads
  std::string coder;
  int density = kVectorDensity;
  std::chrono::milliseconds limit = kVectorDrawingLimit;
};

MagickHeader PingInWorker(const MagickWorkerJob& job, const uint8_t* data, size_t size,
                          const KeepWaiting& keepWaiting);
QImage DecodeInWorker(const MagickWorkerJob& job, const uint8_t* data, size_t size,
                      const KeepWaiting& keepWaiting);

}  // namespace tovak
