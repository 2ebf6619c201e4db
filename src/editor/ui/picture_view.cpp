#include "editor/ui/picture_view.h"

#include <QPainter>

namespace tovak {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void PictureView::Clear() {
  picture_ = QImage();
  update();
}

void PictureView::SetBackground(const QColor& color) {
  background_ = color;
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  if (picture_.isNull()) return;
  QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
  QRect target(QPoint(0, 0), size);
  target.moveCenter(rect().center());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture_);
}

}  // namespace tovak
