#include "editor/ui/tfm_floating_preview.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace tovak {

TfmFloatingPreview::TfmFloatingPreview(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      ltPreview_(new PictureView(this)) {
  setObjectName("TfmFloatingPreview");
  // Turned on from the editor's keyboard, it must leave the keys there: it only shows.
  setAttribute(Qt::WA_ShowWithoutActivating);
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
  setAccessibleName(windowTitle());
  SetPictureName(pictureName_);
}

void TfmFloatingPreview::SetPictureName(const QString& name) {
  pictureName_ = name;
  setAccessibleDescription(name);
  ltPreview_->setAccessibleName(name.isEmpty() ? windowTitle() : name);
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

namespace {

// Beside the owner where the screen has room (right, left, below, above); else over the owner's
// left half, where its list is, so the voice panel's buttons on the right stay in sight.
QRect BesideOwner(const QRect& owner, QSize size, const QRect& screen) {
  const QRect candidates[] = {
      QRect(QPoint(owner.right() + 1, owner.top()), size),
      QRect(QPoint(owner.left() - size.width(), owner.top()), size),
      QRect(QPoint(owner.left(), owner.bottom() + 1), size),
      QRect(QPoint(owner.left(), owner.top() - size.height()), size),
  };
  for (const QRect& place : candidates) {
    if (screen.contains(place)) return place;
  }
  QRect place(QPoint(owner.left(), owner.bottom() - size.height() + 1), size);
  place.moveLeft(std::max(screen.left(), std::min(place.left(), screen.right() - size.width())));
  place.moveTop(std::max(screen.top(), std::min(place.top(), screen.bottom() - size.height())));
  return place;
}

}  // namespace

// The size given is the outer one, so the frame (known once the window is shown) comes off the
// client area. Later showings keep where the user put it.
void TfmFloatingPreview::PlaceFirstTime() {
  placed_ = true;
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize outerSize(kOuterWidth, kOuterHeight);
  resize(outerSize - frame);
  QScreen* screen = this->screen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  QRect outer(QPoint(0, 0), outerSize);
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (owner && owner->isVisible()) {
    outer = BesideOwner(owner->frameGeometry(), outerSize, available);
  } else {
    outer.moveCenter(available.center());
  }
  move(outer.topLeft());
}

void TfmFloatingPreview::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Retranslate();
  // A window manager that activates it anyway (some ignore both hints) gives the keys back.
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && owner &&
      owner->isVisible()) {
    owner->activateWindow();
  }
  QWidget::changeEvent(event);
}

}  // namespace tovak
