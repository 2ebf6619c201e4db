#include "player/player_window.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QUrl>

#include "player/link_address.h"

namespace tovak {

namespace {

constexpr int kBarFullMs = 2500;     // the position bar stays this long after a change
constexpr int kNoticeFullMs = 1200;  // a volume notice is brief
constexpr int kFadeStepMs = 50;
constexpr int kPointerStillMs = 2000;  // a still pointer hides in full screen after this

}  // namespace

PlayerWindow::PlayerWindow(SlideshowPackage& package, std::unique_ptr<VoiceOutput> voice,
                           std::unique_ptr<AdvanceTimer> timer, int language)
    : package_(package),
      voice_(std::move(voice)),
      timer_(std::move(timer)),
      sequence_(package.Count(), *voice_, *timer_,
                [this](int index) { return package_.Sound(index); }),
      language_(language),
      end_(new EndScreen(this)),
      help_(new HelpOverlay(this)) {
  OpenLink = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  setWindowTitle(QFileInfo(QString::fromStdString(package.Path())).fileName());
  setAutoFillBackground(false);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(320, 240);
  resize(1024, 768);
  sequence_.Shown = [this](int index) { Show(index); };
  sequence_.Ended = [this] { ShowEnd(); };
  fade_.setInterval(kFadeStepMs);
  connect(&fade_, &QTimer::timeout, this, [this] {
    // Full for a while, then fading out; a paused show keeps its position in view.
    const qreal step = qreal(kFadeStepMs) / 1000;
    if (!sequence_.Paused()) barOpacity_ = std::max<qreal>(0, barOpacity_ - step);
    noticeOpacity_ = std::max<qreal>(0, noticeOpacity_ - step);
    if (barOpacity_ == 0 && noticeOpacity_ == 0) fade_.stop();
    update();
  });
  pointerHide_.setSingleShot(true);
  pointerHide_.setInterval(kPointerStillMs);
  connect(&pointerHide_, &QTimer::timeout, this, [this] {
    if (isFullScreen()) setCursor(Qt::BlankCursor);
  });
  connect(&end_->PlayAgainButton(), &QPushButton::clicked, this, [this] { sequence_.First(); });
  connect(&end_->CloseButton(), &QPushButton::clicked, this, &QWidget::close);
  end_->OtherKey = [this](QKeyEvent* event) { return HandleKey(event); };
  help_->Closed = [this] { FocusTop(); };
}

void PlayerWindow::Show(int index) {
  picture_ = package_.Picture(index);
  message_ = package_.ShownMessage(index);
  band_.SetText(message_);
  scaled_ = QImage();
  if (end_->isVisible()) {
    end_->hide();
    FocusTop();
  }
  RefreshBar();
}

void PlayerWindow::ShowEnd() {
  end_->setGeometry(rect());
  end_->show();
  end_->raise();
  if (help_->isVisible()) help_->raise();
  FocusTop();
}

void PlayerWindow::ShowHelp() {
  if (!help_->isVisible()) focusBeforeHelp_ = focusWidget();
  help_->setGeometry(rect());
  help_->show();
  help_->raise();
  FocusTop();
}

void PlayerWindow::FocusTop() {
  if (help_->isVisible()) {
    help_->setFocus();
  } else if (end_->isVisible()) {
    // Back to the button that had the focus before the key list came up.
    if (end_->isAncestorOf(focusWidget())) return;
    if (end_->isAncestorOf(focusBeforeHelp_)) {
      focusBeforeHelp_->setFocus();
    } else {
      end_->PlayAgainButton().setFocus();
    }
  } else {
    setFocus();
  }
}

void PlayerWindow::RefreshBar() {
  barOpacity_ = 1.0 + qreal(kBarFullMs) / 1000;
  fade_.start();
  update();
}

void PlayerWindow::ChangeVolume(void (ShowVolume::*change)()) {
  (volume_.*change)();
  voice_->SetVolume(volume_.Gain());
  notice_ = volume_.Text();
  noticeOpacity_ = 1.0 + qreal(kNoticeFullMs) / 1000;
  fade_.start();
  update();
}

SlideGeometry PlayerWindow::Geometry() const {
  return LayOutSlide(band_, font(), size(), picture_.size());
}

const QString& PlayerWindow::ShownCaption() const {
  Geometry();
  return band_.ShownText();
}

QRect PlayerWindow::CaptionArea() const {
  return Geometry().band;
}

QRect PlayerWindow::PictureArea() const {
  return Geometry().picture;
}

void PlayerWindow::PaintBox(QPainter& painter, const QRect& box, const QString& text,
                            qreal opacity) {
  painter.setOpacity(std::min<qreal>(1.0, opacity));
  painter.fillRect(box, QColor(0, 0, 0, 160));
  painter.setPen(Qt::white);
  painter.drawText(box, Qt::AlignCenter, text);
  painter.setOpacity(1.0);
}

void PlayerWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSlide(painter, Geometry(), picture_, scaled_, band_);
  QFont font = this->font();
  font.setPixelSize(std::max(12, height() / 40));
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int line = metrics.height();
  if (barOpacity_ > 0 && sequence_.Count() > 0) {
    const QString text = QString("%1 / %2%3")
                             .arg(sequence_.Current() + 1)
                             .arg(sequence_.Count())
                             .arg(sequence_.Paused() ? "  " + QCoreApplication::translate(
                                                                  "tovak::PlayerWindow", "(paused)")
                                                     : QString());
    const int wide = metrics.horizontalAdvance(text) + line;
    PaintBox(painter, QRect(width() - wide - line / 2, line / 2, wide, line * 3 / 2), text,
             barOpacity_);
  }
  if (noticeOpacity_ > 0) {
    const int wide = metrics.horizontalAdvance(notice_) + 2 * line;
    PaintBox(painter, QRect((width() - wide) / 2, line / 2, wide, line * 3 / 2), notice_,
             noticeOpacity_);
  }
}

void PlayerWindow::ToggleFullScreen() {
  if (isFullScreen()) {
    showNormal();
  } else {
    showFullScreen();
  }
}

bool PlayerWindow::HandleKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      sequence_.Next();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
      sequence_.Previous();
      return true;
    case Qt::Key_P:
      sequence_.TogglePause();
      RefreshBar();
      return true;
    case Qt::Key_R:
      sequence_.Replay();
      return true;
    case Qt::Key_Home:
      sequence_.First();
      return true;
    case Qt::Key_End:
      sequence_.Last();
      return true;
    case Qt::Key_Up:
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // "+" without Shift on many keyboards
      ChangeVolume(&ShowVolume::Up);
      return true;
    case Qt::Key_Down:
    case Qt::Key_Minus:
      ChangeVolume(&ShowVolume::Down);
      return true;
    case Qt::Key_M:
      ChangeVolume(&ShowVolume::ToggleMute);
      return true;
    case Qt::Key_F:
      ToggleFullScreen();
      return true;
    case Qt::Key_F1:
    case Qt::Key_Question:
      ShowHelp();
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    default:
      return false;
  }
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) QWidget::keyPressEvent(event);
}

void PlayerWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    sequence_.Next();
  } else {
    QWidget::mousePressEvent(event);
  }
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event) {
  ShowPointer();
  QWidget::mouseMoveEvent(event);
}

void PlayerWindow::ShowPointer() {
  setCursor(Qt::ArrowCursor);
  if (isFullScreen()) pointerHide_.start();
}

void PlayerWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    pointerHide_.stop();
    setCursor(isFullScreen() ? Qt::BlankCursor : Qt::ArrowCursor);
  }
  QWidget::changeEvent(event);
}

void PlayerWindow::resizeEvent(QResizeEvent* event) {
  end_->setGeometry(rect());
  help_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void PlayerWindow::FillMenu(QMenu& menu) {
  const std::vector<SlideshowPackage::Link> links = package_.Links(language_);
  for (const SlideshowPackage::Link& link : links) {
    // An ampersand in a caption is the caption's own, not the mark of an access key.
    QAction* action =
        menu.addAction(QString(link.caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    const std::string address = OpenableLinkAddress(link.url.toStdString());
    if (address.empty()) {
      action->setEnabled(false);
      continue;
    }
    const QUrl url(QString::fromStdString(address));
    connect(action, &QAction::triggered, this, [this, url] { OpenLink(url); });
  }
  if (!links.empty()) menu.addSeparator();
  connect(menu.addAction(QCoreApplication::translate("tovak::PlayerWindow", "Close")),
          &QAction::triggered, this, &QWidget::close);
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  FillMenu(menu);
  setCursor(Qt::ArrowCursor);
  pointerHide_.stop();
  menu.exec(event->globalPos());
  ShowPointer();
}

}  // namespace tovak
