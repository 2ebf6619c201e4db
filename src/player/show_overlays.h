#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace tovak {

// What the show puts up once it has ended: the last picture dimmed behind two buttons that the
// mouse, the keyboard and a screen reader can all reach.
class EndScreen : public QWidget {
 public:
  explicit EndScreen(QWidget* parent);

  QPushButton& PlayAgainButton() { return *again_; }
  QPushButton& CloseButton() { return *close_; }
  // Offered every key the buttons do not need themselves (they keep Space, Enter and Tab);
  // true when it was taken.
  std::function<bool(QKeyEvent* event)> OtherKey;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* again_;
  QPushButton* close_;
};

// The list of keys over the show; any key or click puts it away.
class HelpOverlay : public QLabel {
 public:
  explicit HelpOverlay(QWidget* parent);

  std::function<void()> Closed;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Close();
};

}  // namespace tovak
