#include "video/video_export.h"

namespace tovak {

std::string VideoSizeProblem(int width, int height) {
  if (width < 16 || height < 16 || width % 2 != 0 || height % 2 != 0)
    return "the size must be even and at least 16x16";
  return {};
}

VideoExportReport ExportVideoSlideshow(const std::string&, const std::string&,
                                       const VideoExportOptions&) {
  throw EVideoExportError("videos cannot be made yet");
}

}  // namespace tovak
