#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace tovak {

// How long a slide lasts in the players: its voice and then the reading pause, or the time of a
// picture without a voice when it has none (voiceMs 0).
double SlideMs(double voiceMs, size_t messageLength);

// The frame each slide starts at, and after them the number of frames in all: each slide
// starts at the frame nearest its start in the players' timing, so the video never drifts from
// their pacing by more than half a frame, however long the show.
std::vector<int64_t> SlideFrameStarts(const std::vector<double>& slideMs, int framesPerSecond);

// A slide as a frame of the video, drawn as the player draws it on a screen of size: the
// picture (null for none) fitted on black, the message in its band below. Needs a
// QGuiApplication for its fonts; any thread may draw.
QImage DrawSlideFrame(const QImage& picture, const QString& message, const QSize& size,
                      const QFont& font);

}  // namespace tovak
