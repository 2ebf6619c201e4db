#include "editor/ui/tfm_floating_preview.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace tovak {

TfmFloatingPreview::TfmFloatingPreview(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ltPreview_(new PictureView(this)) {
  setObjectName("TfmFloatingPreview");
  ltPreview_->setObjectName("ltPreview");
  ltPreview_->SetBackground(Qt::black);
  // Black behind the picture view too, so a resize never flashes another colour.
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ltPreview_);
  resize(kOuterWidth, kOuterHeight);
  Retranslate();
}

void TfmFloatingPreview::Retranslate() {
  setWindowTitle(tr("Floating Preview"));
}

void TfmFloatingPreview::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TfmFloatingPreview::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit Closed();
}

void TfmFloatingPreview::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) PlaceFirstTime();
}

// The size given is the outer one, so the frame (known once the window is shown) comes off the
// client area. Later showings keep where the user put it.
void TfmFloatingPreview::PlaceFirstTime() {
  placed_ = true;
  const QSize frame = frameGeometry().size() - geometry().size();
  resize(QSize(kOuterWidth, kOuterHeight) - frame);
  QScreen* screen = this->screen();
  if (!screen) return;
  QRect outer(QPoint(0, 0), QSize(kOuterWidth, kOuterHeight));
  outer.moveCenter(screen->availableGeometry().center());
  move(outer.topLeft());
}

void TfmFloatingPreview::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Retranslate();
  QWidget::changeEvent(event);
}

}  // namespace tovak
