#include "player/slide_painting.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace tovak {

SlideGeometry LayOutSlide(MessageBand& band, const QFont& base, const QSize& size,
                          const QSize& picture) {
  SlideGeometry geometry;
  geometry.font = base;
  // From the smaller side, so that a portrait screen gets letters of the size a landscape one
  // of the same width would, not ones twice as large.
  geometry.font.setPixelSize(std::max(14, std::min(size.width(), size.height()) / 26));
  int height = 0;
  int margin = 0;
  if (!band.Empty()) {
    margin = QFontMetrics(geometry.font).height() / 2;
    // The band takes what the text needs, but never more than a third of the screen, or than
    // the black the fitted picture leaves when that is more (a landscape picture on a portrait
    // screen leaves half of it).
    int most = size.height() / 3;
    if (!picture.isEmpty())
      most = std::max(most, size.height() - picture.scaled(size, Qt::KeepAspectRatio).height());
    height = std::min(
        band.TextHeight(geometry.font, size.width() - 4 * margin, most - 2 * margin) + 2 * margin,
        most);
  }
  geometry.picture = QRect(0, 0, size.width(), size.height() - height);
  geometry.band = QRect(0, size.height() - height, size.width(), height);
  geometry.text = geometry.band.adjusted(2 * margin, margin, -2 * margin, -margin);
  return geometry;
}

void PaintSlide(QPainter& painter, const SlideGeometry& geometry, const QImage& picture,
                QImage& scaled, const MessageBand& band) {
  painter.fillRect(geometry.picture.united(geometry.band), Qt::black);
  const QRect& area = geometry.picture;
  if (!picture.isNull() && area.height() > 0) {
    const QSize fitted = picture.size().scaled(area.size(), Qt::KeepAspectRatio);
    if (scaled.size() != fitted)
      scaled = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(area.x() + (area.width() - fitted.width()) / 2,
                      area.y() + (area.height() - fitted.height()) / 2, scaled);
  }
  if (geometry.band.height() > 0) {
    painter.fillRect(geometry.band, QColor(24, 24, 24));
    painter.setPen(Qt::white);
    band.Draw(painter, geometry.text);
  }
}

}  // namespace tovak
