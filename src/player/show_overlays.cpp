#include "player/show_overlays.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "player/show_keys.h"

namespace tovak {

namespace {

// Light on dark whatever the desktop's colours, with a focus that shows from across the room.
constexpr const char* kEndStyle =
    "QLabel { color: white; font-size: 28px; }"
    "QPushButton { color: white; background: #333; border: 2px solid #777; border-radius: 6px;"
    "  padding: 10px 28px; font-size: 20px; min-width: 8em; }"
    "QPushButton:hover { background: #444; }"
    "QPushButton:focus { border: 3px solid #8cf; background: #2d4257; }"
    "QPushButton:pressed { background: #222; }";

QString EndText(const char* text) {
  return QCoreApplication::translate("tovak::EndScreen", text);
}

QString KeysText(const char* text) {
  return QCoreApplication::translate(kShowKeysContext, text);
}

bool IsModifierOnly(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

}  // namespace

EndScreen::EndScreen(QWidget* parent) : QWidget(parent) {
  setAccessibleName(EndText(QT_TRANSLATE_NOOP("tovak::EndScreen", "End of the show")));
  setStyleSheet(kEndStyle);
  // The buttons need a pointer even where the show hides it.
  setCursor(Qt::ArrowCursor);
  auto* title = new QLabel(accessibleName(), this);
  title->setAlignment(Qt::AlignCenter);
  again_ = new QPushButton(EndText(QT_TRANSLATE_NOOP("tovak::EndScreen", "Play again")), this);
  close_ = new QPushButton(EndText(QT_TRANSLATE_NOOP("tovak::EndScreen", "Close")), this);
  for (QPushButton* button : {again_, close_}) {
    button->setAccessibleName(button->text());
    button->setAutoDefault(true);  // Enter presses the button that has the focus
    button->installEventFilter(this);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(again_);
  buttons->addSpacing(24);
  buttons->addWidget(close_);
  buttons->addStretch();
  auto* column = new QVBoxLayout(this);
  column->addStretch();
  column->addWidget(title);
  column->addSpacing(24);
  column->addLayout(buttons);
  column->addStretch();
  setTabOrder(again_, close_);
  hide();
}

void EndScreen::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), QColor(0, 0, 0, 190));
}

bool EndScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && OtherKey) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Space:
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        break;
      default:
        if (OtherKey(key)) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

HelpOverlay::HelpOverlay(QWidget* parent) : QLabel(parent) {
  QString rows, plain;
  for (const ShowKey& key : kShowKeys) {
    rows += QString("<tr><td align=right style='padding-right:24px'><b>%1</b></td><td>%2</td></tr>")
                .arg(KeysText(key.keys).toHtmlEscaped(), KeysText(key.action).toHtmlEscaped());
    plain += QString("%1: %2.\n").arg(KeysText(key.keys), KeysText(key.action));
  }
  setText(
      "<table align=center cellspacing=6>" + rows + "</table><p align=center>" +
      KeysText(QT_TRANSLATE_NOOP("tovak::ShowKeys", "Any key or click closes.")).toHtmlEscaped() +
      "</p>");
  setTextFormat(Qt::RichText);
  setAlignment(Qt::AlignCenter);
  setStyleSheet("QLabel { color: white; background: rgba(0, 0, 0, 235); font-size: 18px; }");
  setAccessibleName(KeysText(QT_TRANSLATE_NOOP("tovak::ShowKeys", "Keys")));
  setAccessibleDescription(
      plain + KeysText(QT_TRANSLATE_NOOP("tovak::ShowKeys", "Any key or click closes this list.")));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::ArrowCursor);
  hide();
}

void HelpOverlay::keyPressEvent(QKeyEvent* event) {
  if (IsModifierOnly(event->key())) return;
  Close();
}

void HelpOverlay::mousePressEvent(QMouseEvent*) {
  Close();
}

void HelpOverlay::Close() {
  hide();
  if (Closed) Closed();
}

}  // namespace tovak
