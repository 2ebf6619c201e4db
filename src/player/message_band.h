#pragma once

#include <QFont>
#include <QString>
#include <QTextLayout>

class QPainter;

namespace tovak {

// The message under the picture. A message is laid out once for each font and band size, never
// in a paint, so a message of any length costs the show one layout; what does not fit the band
// ends in an ellipsis.
class MessageBand {
 public:
  void SetText(const QString& text);
  bool Empty() const { return text_.isEmpty(); }
  // The height the text takes, at most maxHeight, in lines width wide.
  int TextHeight(const QFont& font, int width, int maxHeight);
  // Draws the text laid out by the last TextHeight, centred in area.
  void Draw(QPainter& painter, const QRect& area) const;
  // What the band shows of the message.
  const QString& ShownText() const { return shown_; }
  int Layouts() const { return layouts_; }

 private:
  void Layout();

  QString text_;
  QFont font_;
  int width_ = -1;
  int maxHeight_ = -1;
  bool laidOut_ = false;
  QString shown_;
  QTextLayout layout_;
  int height_ = 0;
  int layouts_ = 0;
};

}  // namespace tovak
