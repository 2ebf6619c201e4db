#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/exception.h"

namespace tovak {

// A video that cannot be made or written; the message says why.
class EVideoExportError : public Exception {
 public:
  using Exception::Exception;
};

// The export was stopped by its progress callback; nothing was left at the target.
class EVideoExportCancelled : public EVideoExportError {
 public:
  using EVideoExportError::EVideoExportError;
};

struct VideoExportOptions {
  int width = 1280;
  int height = 720;
  // Called now and then from the exporting thread with the picture being encoded (1-based),
  // the number of pictures and the share done in percent; returning false cancels the export.
  std::function<bool(int picture, int pictures, int percent)> progress;
};

struct VideoExportReport {
  int pictures = 0;
  int voices = 0;
  int64_t bytes = 0;       // of the video written
  int64_t durationMs = 0;  // of the video
  // One line per picture that lost something on the way (a voice or a picture that cannot be
  // read).
  std::vector<std::string> warnings;
};

// The reason a frame size cannot be used ("" when it can): both sides even and within what
// the encoder and players take.
std::string VideoSizeProblem(int width, int height);

// Writes the slideshow package at packagePath as one H.264/AAC MP4 video at outPath, paced by
// the players' timing rules. The video is written under a temporary name and renamed into
// place, so outPath is either the whole video or what it was. Throws EPackageError for a
// package that cannot be read, EVideoExportCancelled when progress asked to stop, and
// EVideoExportError when the video cannot be made or written.
// The slides are drawn with Qt's fonts, so a QGuiApplication must exist (an offscreen one will
// do); the export may run on any thread.
VideoExportReport ExportVideoSlideshow(const std::string& packagePath, const std::string& outPath,
                                       const VideoExportOptions& options = {});

}  // namespace tovak
