#include "player/player_window.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QUrl>

namespace tovak {

namespace {

constexpr int kBarFullMs = 2500;  // the position bar stays this long after a change
constexpr int kFadeStepMs = 50;

}  // namespace

PlayerWindow::PlayerWindow(SlideshowPackage& package, std::unique_ptr<VoiceOutput> voice,
                           std::unique_ptr<AdvanceTimer> timer, int language)
    : package_(package),
      voice_(std::move(voice)),
      timer_(std::move(timer)),
      sequence_(package.Count(), *voice_, *timer_,
                [this](int index) { return package_.Sound(index); }),
      language_(language) {
  setWindowTitle(QFileInfo(QString::fromStdString(package.Path())).fileName());
  setAutoFillBackground(false);
  setCursor(Qt::BlankCursor);
  setMinimumSize(320, 240);
  resize(1024, 768);
  sequence_.Shown = [this](int index) { Show(index); };
  fade_.setInterval(kFadeStepMs);
  connect(&fade_, &QTimer::timeout, this, [this] {
    // Full for a while, then fading out; a paused show keeps it in view.
    if (sequence_.Paused()) return;
    barOpacity_ = std::max(0.0, barOpacity_ - qreal(kFadeStepMs) / 1000);
    if (barOpacity_ == 0) fade_.stop();
    update();
  });
}

void PlayerWindow::Show(int index) {
  picture_ = package_.Picture(index);
  message_ = package_.Message(index);
  scaled_ = QPixmap();
  barOpacity_ = 1.0 + qreal(kBarFullMs) / 1000;
  fade_.start();
  update();
}

QFont PlayerWindow::CaptionFont() const {
  QFont font = this->font();
  font.setPixelSize(std::max(14, height() / 26));
  return font;
}

int PlayerWindow::CaptionHeight() const {
  if (message_.isEmpty()) return 0;
  const QFontMetrics metrics(CaptionFont());
  const int margin = metrics.height() / 2;
  const QRect needed = metrics.boundingRect(QRect(0, 0, width() - 4 * margin, 100000),
                                            Qt::AlignHCenter | Qt::TextWordWrap, message_);
  // The band takes what the text needs, but never more than a third of the screen.
  return std::min(needed.height() + 2 * margin, height() / 3);
}

QRect PlayerWindow::CaptionArea() const {
  const int band = CaptionHeight();
  return QRect(0, height() - band, width(), band);
}

QRect PlayerWindow::PictureArea() const {
  return QRect(0, 0, width(), height() - CaptionHeight());
}

void PlayerWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const QRect area = PictureArea();
  if (!picture_.isNull() && area.height() > 0) {
    const QSize fitted = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    if (scaled_.size() != fitted) {
      scaled_ = QPixmap::fromImage(
          picture_.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.drawPixmap(area.x() + (area.width() - fitted.width()) / 2,
                       area.y() + (area.height() - fitted.height()) / 2, scaled_);
  }
  if (!message_.isEmpty()) {
    const QRect band = CaptionArea();
    painter.fillRect(band, QColor(24, 24, 24));
    painter.setPen(Qt::white);
    painter.setFont(CaptionFont());
    const int margin = QFontMetrics(CaptionFont()).height() / 2;
    painter.drawText(band.adjusted(2 * margin, margin, -2 * margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, message_);
  }
  if (barOpacity_ > 0 && sequence_.Count() > 0) {
    const QString text = QString("%1 / %2%3")
                             .arg(sequence_.Current() + 1)
                             .arg(sequence_.Count())
                             .arg(sequence_.Paused() ? "  (paused)" : "");
    QFont font = this->font();
    font.setPixelSize(std::max(12, height() / 40));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRect box(width() - metrics.horizontalAdvance(text) - 3 * metrics.height() / 2,
                    metrics.height() / 2, metrics.horizontalAdvance(text) + metrics.height(),
                    metrics.height() * 3 / 2);
    painter.setOpacity(std::min<qreal>(1.0, barOpacity_));
    painter.fillRect(box, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
  }
}

void PlayerWindow::ToggleFullScreen() {
  if (isFullScreen()) {
    showNormal();
  } else {
    showFullScreen();
  }
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      sequence_.Next();
      break;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
      sequence_.Previous();
      break;
    case Qt::Key_P:
      sequence_.TogglePause();
      barOpacity_ = 1.0 + qreal(kBarFullMs) / 1000;
      fade_.start();
      update();
      break;
    case Qt::Key_Home:
      sequence_.First();
      break;
    case Qt::Key_End:
      sequence_.Last();
      break;
    case Qt::Key_F:
      ToggleFullScreen();
      break;
    case Qt::Key_Escape:
      close();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void PlayerWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    sequence_.Next();
  } else {
    QWidget::mousePressEvent(event);
  }
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
  const std::vector<SlideshowPackage::Link> links = package_.Links(language_);
  if (links.empty()) return;
  QMenu menu(this);
  for (const SlideshowPackage::Link& link : links) {
    QAction* action = menu.addAction(link.caption);
    const QString url = link.url;
    connect(action, &QAction::triggered, this, [url] { QDesktopServices::openUrl(QUrl(url)); });
  }
  setCursor(Qt::ArrowCursor);
  menu.exec(event->globalPos());
  setCursor(Qt::BlankCursor);
}

}  // namespace tovak
