#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>

#include "player/message_band.h"

class QPainter;

namespace tovak {

// How a slide fills a screen: the picture fitted on black, the message in a band below that
// never covers it. The player's window and the video draw their slides with these, so a show
// looks the same in both.
struct SlideGeometry {
  QFont font;     // of the message
  QRect picture;  // the area the picture is fitted into
  QRect band;     // the message band; no height without a message
  QRect text;     // where the message's lines go within the band
};

// Lays band's message out for a screen of size; base gives the font's family and style. Given
// the picture's size, a long message may fill the black the fitted picture leaves before it is
// cut.
SlideGeometry LayOutSlide(MessageBand& band, const QFont& base, const QSize& size,
                          const QSize& picture = QSize());

// Paints a slide: black, the picture scaled to fit its area with a smooth filter, and the band
// with its message. The scaled picture is kept in scaled and made again only when its size
// changes; a null picture leaves its area black.
void PaintSlide(QPainter& painter, const SlideGeometry& geometry, const QImage& picture,
                QImage& scaled, const MessageBand& band);

}  // namespace tovak
