#include "editor/ui/focus_frame.h"

#include <QWidget>

namespace tovak {

void UseClearFocusFrame(QWidget* window) {
  window->setStyleSheet(QStringLiteral(
      "QPushButton:focus { border: 3px solid rgb(0, 70, 160); border-radius: 4px; "
      "background-color: palette(button); color: palette(button-text); padding: 2px 6px; }"
      "QCheckBox:focus, QRadioButton:focus { border: 2px solid rgb(0, 70, 160); }"));
}

}  // namespace tovak
