#pragma once

#include <QString>
#include <cstdint>
#include <string>
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

struct WebShow {
  QString title;
  std::vector<WebSlide> slides;
  std::vector<WebLink> links;
};

// Whether a link may become a clickable link in the page: web and mail addresses only.
bool IsSafeLinkAddress(const QString& url);

// The whole page: one HTML file with everything inside, which fetches nothing. Its
// Content-Security-Policy admits only its own script and style (by their hashes) and data:
// pictures and sounds; messages, captions and the title reach the page as text, never as markup.
std::string RenderWebSlideshow(const WebShow& show);

}  // namespace tovak
