#include "player/message_band.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tovak {

namespace {

constexpr QChar kEllipsis(0x2026);

QTextOption BandOption() {
  QTextOption option(Qt::AlignHCenter);
  // A word longer than the band is broken too, so no line runs off the screen.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  return option;
}

// Lays text out in lines of width until maxHeight is filled; returns the start of each line
// that fits (at least one) and whether some text was left over.
std::vector<int> FittingLines(QTextLayout& layout, int width, int maxHeight, bool& overflow) {
  std::vector<int> starts;
  qreal y = 0;
  overflow = false;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    if (!starts.empty() && y + line.height() > maxHeight) {
      overflow = true;
      break;
    }
    line.setPosition(QPointF(0, y));
    y += line.height();
    starts.push_back(line.textStart());
  }
  layout.endLayout();
  return starts;
}

}  // namespace

void MessageBand::SetText(const QString& text) {
  // Blank lines alone say nothing: no band for them.
  text_ = text.trimmed().isEmpty() ? QString() : text;
  shown_.clear();
  height_ = 0;
  laidOut_ = false;
}

int MessageBand::TextHeight(const QFont& font, int width, int maxHeight) {
  if (text_.isEmpty()) return 0;
  width = std::max(1, width);
  if (!laidOut_ || font != font_ || width != width_ || maxHeight != maxHeight_) {
    font_ = font;
    width_ = width;
    maxHeight_ = maxHeight;
    Layout();
  }
  return height_;
}

void MessageBand::Layout() {
  ++layouts_;
  laidOut_ = true;
  const QFontMetrics metrics(font_);
  // No more of the message is looked at than the band could ever hold (each character at
  // least a pixel wide), which bounds the work whatever the message's length.
  const int lines = std::max(1, maxHeight_ / std::max(1, metrics.lineSpacing()));
  const qsizetype most = qsizetype(lines + 1) * (width_ + 1);
  QString text = text_.left(most);
  if (text.size() < text_.size() && text.back().isHighSurrogate()) text.chop(1);
  bool overflow = text.size() < text_.size();
  text.replace('\n', QChar::LineSeparator);

  QTextLayout probe(text, font_);
  probe.setTextOption(BandOption());
  bool more = false;
  const std::vector<int> starts = FittingLines(probe, width_, maxHeight_, more);
  overflow = overflow || more;
  shown_ = text;
  if (overflow) {
    // The last line that fits takes what follows it, cut with an ellipsis at the band's edge.
    const int last = starts.back();
    // The line ends where the message breaks it: the next line's first words never join it.
    QString rest = text.mid(last, 4 * qsizetype(width_) + 4);
    if (const qsizetype end = rest.indexOf(QChar::LineSeparator); end >= 0) rest.truncate(end);
    QString tail =
        metrics.elidedText(rest, Qt::ElideRight, width_ - metrics.horizontalAdvance(kEllipsis));
    if (!tail.endsWith(kEllipsis)) {
      while (!tail.isEmpty() && tail.back().isSpace()) tail.chop(1);
      tail += kEllipsis;
    }
    shown_ = text.left(last) + tail;
  }
  layout_.setText(shown_);
  layout_.setFont(font_);
  layout_.setTextOption(BandOption());
  bool unused = false;
  FittingLines(layout_, width_, std::max(maxHeight_, metrics.lineSpacing()), unused);
  height_ = static_cast<int>(std::ceil(layout_.boundingRect().height()));
  height_ = std::min(height_, std::max(maxHeight_, metrics.height()));
}

void MessageBand::Draw(QPainter& painter, const QRect& area) const {
  if (shown_.isEmpty()) return;
  layout_.draw(&painter, QPointF(area.x(), area.y() + (area.height() - height_) / 2));
}

}  // namespace tovak
