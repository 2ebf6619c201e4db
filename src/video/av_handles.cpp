#include "video/av_handles.h"

#include <new>

#include "video/video_export.h"

namespace tovak::av {

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

int Check(int code, const char* what) {
  if (code == AVERROR(ENOMEM)) throw std::bad_alloc();
  if (code < 0) throw EVideoExportError(std::string(what) + ": " + ErrorText(code));
  return code;
}

Frame NewFrame() {
  Frame frame(av_frame_alloc());
  if (!frame) throw std::bad_alloc();
  return frame;
}

}  // namespace tovak::av
