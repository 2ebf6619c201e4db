#include "video/slide_frames.h"

#include <QPainter>
#include <cmath>

#include "player/show_timing.h"
#include "player/slide_painting.h"

namespace tovak {

double SlideMs(double voiceMs, size_t messageLength) {
  const SlideTiming timing = TimeSlide(messageLength);
  return voiceMs > 0 ? voiceMs + timing.afterVoiceMs : timing.withoutVoiceMs;
}

std::vector<int64_t> SlideFrameStarts(const std::vector<double>& slideMs, int framesPerSecond) {
  std::vector<int64_t> starts;
  double at = 0;
  starts.push_back(0);
  for (const double ms : slideMs) {
    at += ms;
    starts.push_back(std::llround(at * framesPerSecond / 1000));
  }
  return starts;
}

QImage DrawSlideFrame(const QImage& picture, const QString& message, const QSize& size,
                      const QFont& font) {
  QImage frame(size, QImage::Format_RGB32);
  MessageBand band;
  band.SetText(message);
  QPainter painter(&frame);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QImage scaled;
  PaintSlide(painter, LayOutSlide(band, font, size, picture.size()), picture, scaled, band);
  return frame;
}

}  // namespace tovak
