#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/exception.h"
#include "player/show_timing.h"

namespace tovak {

class EWebExportError : public Exception {
 public:
  using Exception::Exception;
};

// One picture of a web slideshow, as the page stores it.
struct WebSlide {
  std::vector<uint8_t> jpeg;  // as the package stores it; empty for a picture without one
  QString message;
  std::vector<uint8_t> mp3;  // empty without a voice
  SlideTiming timing;
};

struct WebLink {
  QString caption;
  QString url;
};

// The page's own words, in the language of the program that writes it. "%1" and "%2" are filled
// in by the page.
struct WebTexts {
  QString language = "en";  // the page's language code
  QString slideshow = "Slideshow";
  QString links = "Links";
  QString play = "Play";
  QString loading = "Loading…";
  QString keys =
      "Space or → next · ← back · P pause · F full screen · tap or swipe on a touch screen";
  QString end = "End of the slideshow";
  QString theEnd = "The end";
  QString playAgain = "Play again";
  QString onePicture = "1 picture";
  QString pictures = "%1 pictures";
  QString pictureOf = "Picture %1 of %2";
  QString paused = "paused";
};

struct WebShow {
  QString title;
  WebTexts texts;
  std::vector<WebSlide> slides;
  std::vector<WebLink> links;
};

// Whether a link may become a clickable link in the page: web and mail addresses only.
bool IsSafeLinkAddress(const QString& url);

// Takes the page piece by piece, in order.
using PageSink = std::function<void(std::string_view piece)>;

// Writes the page front to back, one slide at a time, so that a show of any size is written
// while holding only the slide at hand: Begin, then Slide for each slide in order, then End.
class WebPageWriter {
 public:
  WebPageWriter(const QString& title, const WebTexts& texts, std::vector<WebLink> links,
                PageSink sink);
  void Begin();
  void Slide(const WebSlide& slide);
  void End();

 private:
  void Write(std::string_view piece) { sink_(piece); }
  void Write(const QByteArray& piece) { sink_({piece.constData(), size_t(piece.size())}); }
  void WriteDataUri(const char* type, const std::vector<uint8_t>& bytes);

  QString title_;
  WebTexts texts_;
  std::vector<WebLink> links_;
  PageSink sink_;
  QByteArray head_, tail_;  // the page before and after its data
  int slides_ = 0;
};

// The whole page: one HTML file with everything inside, which fetches nothing. Its
// Content-Security-Policy admits only its own script and style (by their hashes) and data:
// pictures and sounds; messages, captions and the title reach the page as text, never as markup.
// RenderWebSlideshow makes it in memory, for small shows; WebPageWriter writes the same bytes.
std::string RenderWebSlideshow(const WebShow& show);

}  // namespace tovak
