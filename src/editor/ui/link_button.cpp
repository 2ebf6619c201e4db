#include "editor/ui/link_button.h"

#include <QKeyEvent>

namespace tovak {

LinkButton::LinkButton(QWidget* parent, const char* name, const char* colour)
    : QToolButton(parent) {
  setObjectName(name);
  setAutoRaise(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setStyleSheet(QStringLiteral("QToolButton { color: %1; text-decoration: underline; border: 1px "
                               "solid transparent; }"
                               "QToolButton:focus { border: 1px dotted palette(text); }")
                    .arg(QLatin1String(colour)));
}

void LinkButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))) {
    event->accept();
    click();
    return;
  }
  QToolButton::keyPressEvent(event);
}

}  // namespace tovak
