#include "editor/ui/voice_mark.h"

#include <QPainter>
#include <QPainterPath>

namespace tovak {

QPixmap VoiceMarkPixmap() {
  QPixmap mark(16, 14);
  mark.fill(Qt::transparent);
  QPainter p(&mark);
  p.setRenderHint(QPainter::Antialiasing);
  // A light rim keeps the dark shape visible on a dark selection colour.
  const QColor body(0, 100, 0);
  QPainterPath speaker;
  speaker.moveTo(1.5, 5);
  speaker.lineTo(4, 5);
  speaker.lineTo(8, 1.5);
  speaker.lineTo(8, 12.5);
  speaker.lineTo(4, 9);
  speaker.lineTo(1.5, 9);
  speaker.closeSubpath();
  p.setPen(QPen(QColor(255, 255, 255, 200), 2.2));
  p.drawPath(speaker);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(body);
  p.drawPath(speaker);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(body, 1.4));
  p.drawArc(QRectF(6, 4, 5, 6), -50 * 16, 100 * 16);
  p.drawArc(QRectF(6, 1.5, 9, 11), -50 * 16, 100 * 16);
  return mark;
}

QIcon RecordIcon() {
  QIcon icon;
  for (const int size : {16, 32}) {
    QPixmap dot(size, size);
    dot.fill(Qt::transparent);
    QPainter p(&dot);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 8.0;
    p.setPen(QPen(QColor(110, 0, 0), size / 16.0));
    p.setBrush(QColor(220, 20, 20));
    p.drawEllipse(QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    icon.addPixmap(dot);
  }
  return icon;
}

}  // namespace tovak
