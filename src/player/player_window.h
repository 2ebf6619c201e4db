#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "player/show_sequence.h"
#include "player/slideshow_package.h"

namespace tovak {

// Shows a slideshow: each picture scaled to fit on black, its message in a caption band below
// that never covers the picture, its voice played, a small position bar that fades while the
// show runs, and the package's links in a right-click menu.
class PlayerWindow : public QWidget {
 public:
  PlayerWindow(SlideshowPackage& package, std::unique_ptr<VoiceOutput> voice,
               std::unique_ptr<AdvanceTimer> timer, int language);

  void Start() { sequence_.Start(); }
  ShowSequence& Sequence() { return sequence_; }
  const QString& CurrentMessage() const { return message_; }
  // Where the picture and the caption go in the window's current size.
  QRect PictureArea() const;
  QRect CaptionArea() const;
  qreal BarOpacity() const { return barOpacity_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Show(int index);
  void ToggleFullScreen();
  int CaptionHeight() const;
  QFont CaptionFont() const;

  SlideshowPackage& package_;
  std::unique_ptr<VoiceOutput> voice_;
  std::unique_ptr<AdvanceTimer> timer_;
  ShowSequence sequence_;
  int language_;
  QImage picture_;
  QPixmap scaled_;
  QString message_;
  qreal barOpacity_ = 1.0;
  QTimer fade_;
};

}  // namespace tovak
