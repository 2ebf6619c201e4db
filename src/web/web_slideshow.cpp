#include "web/web_slideshow.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <algorithm>
#include <map>
#include <set>

#include "player/link_address.h"
#include "web/page_text.h"

namespace tovak {

namespace {

using namespace std::string_view_literals;

// Pictures and voices are encoded a piece at a time (a multiple of three bytes, so no piece
// but the last is padded) and never held as text whole.
constexpr size_t kBase64Piece = 3 * 16384;

QByteArray HashSource(const char* text) {
  return "'sha256-" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toBase64() + "'";
}

QByteArray EscapeHtml(const QString& text) {
  return text.toHtmlEscaped().replace('\'', "&#39;").toUtf8();
}

// One JSON value as the page's data holds it. The data sits in a script element of its own
// type; "<" is written as an escape so that no message can end that element early.
QByteArray Json(const QJsonValue& value) {
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return array.mid(1, array.size() - 2).replace("<", "\\u003c");
}

// Fills every {{NAME}} of the template in one pass, so that nothing filled in (a title or
// a message holding "{{...}}") is ever taken for a place to fill.
QByteArray FillTemplate(const QByteArray& page, const std::map<QByteArray, QByteArray>& values,
                        std::set<QByteArray>& filled) {
  QByteArray out;
  qsizetype from = 0;
  for (;;) {
    const qsizetype open = page.indexOf("{{", from);
    const qsizetype close = open < 0 ? -1 : page.indexOf("}}", open);
    if (close < 0) break;
    const auto value = values.find(page.mid(open + 2, close - open - 2));
    if (value == values.end()) {
      out += page.mid(from, close + 2 - from);
    } else {
      out += page.mid(from, open - from);
      out += value->second;
      filled.insert(value->first);
    }
    from = close + 2;
  }
  out += page.mid(from);
  return out;
}

}  // namespace

bool IsSafeLinkAddress(const QString& url) {
  // The players' rule, and an address the page's own parser takes as it is.
  return !OpenableLinkAddress(url.toStdString()).empty() &&
         QUrl(url.trimmed(), QUrl::StrictMode).isValid();
}

WebPageWriter::WebPageWriter(const QString& title, const WebTexts& texts,
                             std::vector<WebLink> links, PageSink sink)
    : title_(title), texts_(texts), links_(std::move(links)), sink_(std::move(sink)) {}

void WebPageWriter::Begin() {
  const QByteArray csp = "default-src 'none'; script-src " + HashSource(kWebPageScript) +
                         "; style-src " + HashSource(kWebPageStyle) +
                         "; img-src data:; media-src data:; base-uri 'none'; form-action 'none'";
  const std::map<QByteArray, QByteArray> values{{"CSP", csp},
                                                {"LANG", EscapeHtml(texts_.language)},
                                                {"TITLE", EscapeHtml(title_)},
                                                {"SLIDESHOW", EscapeHtml(texts_.slideshow)},
                                                {"LINKS", EscapeHtml(texts_.links)},
                                                {"PLAY", EscapeHtml(texts_.play)},
                                                {"LOADING", EscapeHtml(texts_.loading)},
                                                {"KEYS", EscapeHtml(texts_.keys)},
                                                {"END", EscapeHtml(texts_.end)},
                                                {"THE_END", EscapeHtml(texts_.theEnd)},
                                                {"PLAY_AGAIN", EscapeHtml(texts_.playAgain)},
                                                {"STYLE", kWebPageStyle},
                                                {"SCRIPT", kWebPageScript}};
  // The data goes between the two halves of the page, written as it comes.
  const QByteArray page = kWebPageHtml;
  const qsizetype data = page.indexOf("{{DATA}}");
  if (data < 0) throw EWebExportError("the page template lacks a place to fill");
  std::set<QByteArray> filled;
  head_ = FillTemplate(page.left(data), values, filled);
  tail_ = FillTemplate(page.mid(data + 8), values, filled);
  if (filled.size() != values.size())
    throw EWebExportError("the page template lacks a place to fill");

  // The keys in the order the JSON writer sorts them, which the page's bytes have always had.
  QByteArray links = "{\"links\":[";
  for (size_t i = 0; i < links_.size(); ++i) {
    const WebLink& link = links_[i];
    if (i > 0) links += ',';
    links += "{\"caption\":" + Json(link.caption) +
             ",\"url\":" + Json(IsSafeLinkAddress(link.url) ? link.url : QString()) + '}';
  }
  links += "],\"slides\":[";
  Write(head_);
  Write(links);
}

void WebPageWriter::WriteDataUri(const char* type, const std::vector<uint8_t>& bytes) {
  Write("\""sv);
  if (!bytes.empty()) {
    Write("data:"sv);
    Write(std::string_view(type));
    Write(";base64,"sv);
    for (size_t at = 0; at < bytes.size(); at += kBase64Piece) {
      const size_t size = std::min(kBase64Piece, bytes.size() - at);
      const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(&bytes[at]),
                                                      static_cast<qsizetype>(size))
                                  .toBase64();
      Write(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    }
  }
  Write("\""sv);
}

void WebPageWriter::Slide(const WebSlide& slide) {
  const QByteArray front = (slides_++ > 0 ? ",{\"afterVoiceMs\":" : "{\"afterVoiceMs\":") +
                           Json(slide.timing.afterVoiceMs) + ",\"message\":" + Json(slide.message) +
                           ",\"picture\":";
  Write(front);
  WriteDataUri("image/jpeg", slide.jpeg);
  Write(",\"voice\":"sv);
  WriteDataUri("audio/mpeg", slide.mp3);
  Write((",\"withoutVoiceMs\":" + Json(slide.timing.withoutVoiceMs) + '}'));
}

void WebPageWriter::End() {
  const QJsonObject words{{"onePicture", texts_.onePicture},
                          {"pictures", texts_.pictures},
                          {"pictureOf", texts_.pictureOf},
                          {"paused", texts_.paused}};
  Write(("],\"texts\":" + Json(words) + ",\"title\":" + Json(title_) + '}'));
  Write(tail_);
}

std::string RenderWebSlideshow(const WebShow& show) {
  std::string page;
  WebPageWriter writer(show.title, show.texts, show.links,
                       [&page](std::string_view piece) { page += piece; });
  writer.Begin();
  for (const WebSlide& slide : show.slides) writer.Slide(slide);
  writer.End();
  return page;
}

}  // namespace tovak
