#include "editor/ui/picture_view.h"

#include <QEvent>
#include <QPainter>

namespace tovak {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted, so Qt need not clear the area first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  Describe();
}

void PictureView::SetPicture(const QImage& picture) {
  picture_ = picture;
  scaled_ = QPixmap();
  Describe();
  update();
}

void PictureView::Clear() {
  SetPicture(QImage());
}

void PictureView::SetBackground(const QColor& color) {
  background_ = color;
  update();
}

QRect PictureView::Target() const {
  QRect target(QPoint(0, 0), picture_.size().scaled(size(), Qt::KeepAspectRatio));
  target.moveCenter(rect().center());
  return target;
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  if (picture_.isNull() || width() <= 0 || height() <= 0) return;
  const QRect target = Target();
  if (target.isEmpty()) return;
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(target.size()) * ratio).toSize();
  if (scaled_.isNull() || scaled_.size() != pixels) {
    scaled_ = QPixmap::fromImage(
        picture_.size() == pixels
            ? picture_
            : picture_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    scaled_.setDevicePixelRatio(ratio);
  }
  // The show flattens a picture's transparent parts onto white; the preview shows them the
  // same, whatever colour surrounds the picture.
  if (picture_.hasAlphaChannel()) painter.fillRect(target, Qt::white);
  painter.drawPixmap(target.topLeft(), scaled_);
}

void PictureView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Describe();
  QWidget::changeEvent(event);
}

void PictureView::Describe() {
  // A name the owner gave (say the file's) stays; only our own is renewed on a language change.
  if (accessibleName().isEmpty() || accessibleName() == ownName_) {
    ownName_ = tr("Picture preview");
    setAccessibleName(ownName_);
  }
  setAccessibleDescription(picture_.isNull() ? tr("No picture") : tr("Picture shown"));
}

}  // namespace tovak
