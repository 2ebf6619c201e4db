#pragma once

#include <QToolButton>

namespace tovak {

// A text link the keyboard can use like a button: it opens on Space and on Enter, and Enter
// stays with it instead of reaching the dialog's default button. Its focus mark is drawn clearly.
class LinkButton : public QToolButton {
  Q_OBJECT

 public:
  // colour: the link's text colour (a CSS colour name).
  LinkButton(QWidget* parent, const char* name, const char* colour);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tovak
