#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

#include "player/message_band.h"
#include "player/show_overlays.h"
#include "player/show_sequence.h"
#include "player/show_volume.h"
#include "player/slide_painting.h"
#include "player/slideshow_package.h"

class QMenu;

namespace tovak {

// Shows a slideshow: each picture scaled to fit on black, its message in a caption band below
// that never covers the picture, its voice played, a small position bar and volume notice that
// fade while the show runs, an end screen, a list of the keys, and the package's links in a
// right-click menu. In full screen the pointer shows only while the mouse moves.
class PlayerWindow : public QWidget {
 public:
  PlayerWindow(SlideshowPackage& package, std::unique_ptr<VoiceOutput> voice,
               std::unique_ptr<AdvanceTimer> timer, int language);

  void Start() { sequence_.Start(); }
  ShowSequence& Sequence() { return sequence_; }
  const QString& CurrentMessage() const { return message_; }
  // What the caption band shows of the message: all of it, or what fits with an ellipsis.
  const QString& ShownCaption() const;
  int CaptionLayouts() const { return band_.Layouts(); }
  // Where the picture and the caption go in the window's current size.
  QRect PictureArea() const;
  QRect CaptionArea() const;
  qreal BarOpacity() const { return barOpacity_; }
  const ShowVolume& Volume() const { return volume_; }
  // The last volume change as shown on screen, and how much of it is still in view.
  const QString& Notice() const { return notice_; }
  qreal NoticeOpacity() const { return noticeOpacity_; }
  EndScreen& End() { return *end_; }
  HelpOverlay& Help() { return *help_; }
  // The right-click menu: the package's links, then Close. Only web and mail addresses open;
  // any other link shows, disabled.
  void FillMenu(QMenu& menu);
  // Hands a link to the desktop.
  std::function<void(const QUrl& url)> OpenLink;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Show(int index);
  void ShowEnd();
  void ShowHelp();
  // Focus to whatever is on top: the key list, the end screen or the show.
  void FocusTop();
  bool HandleKey(QKeyEvent* event);
  void ChangeVolume(void (ShowVolume::*change)());
  void RefreshBar();
  void ShowPointer();
  void ToggleFullScreen();
  void PaintBox(QPainter& painter, const QRect& box, const QString& text, qreal opacity);
  SlideGeometry Geometry() const;

  SlideshowPackage& package_;
  std::unique_ptr<VoiceOutput> voice_;
  std::unique_ptr<AdvanceTimer> timer_;
  ShowSequence sequence_;
  int language_;
  QImage picture_;
  QImage scaled_;  // the picture as last drawn
  QString message_;
  mutable MessageBand band_;
  qreal barOpacity_ = 1.0;
  ShowVolume volume_;
  QString notice_;
  qreal noticeOpacity_ = 0;
  QTimer fade_;
  QTimer pointerHide_;
  EndScreen* end_;
  HelpOverlay* help_;
  QPointer<QWidget> focusBeforeHelp_;
};

}  // namespace tovak
