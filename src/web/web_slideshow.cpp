#include "web/web_slideshow.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <map>
#include <set>

#include "web/page_text.h"

namespace tovak {

namespace {

QString DataUri(const char* type, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return {};
  const QByteArray raw(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qsizetype>(bytes.size()));
  return QString("data:%1;base64,").arg(type) + QString::fromLatin1(raw.toBase64());
}

QByteArray HashSource(const char* text) {
  return "'sha256-" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toBase64() + "'";
}

QByteArray EscapeHtml(const QString& text) {
  return text.toHtmlEscaped().replace('\'', "&#39;").toUtf8();
}

// The data sits in a script element of its own type; "<" is written as an escape so that no
// message can end that element early.
QByteArray ShowData(const WebShow& show) {
  QJsonArray slides;
  for (const WebSlide& slide : show.slides) {
    QJsonObject item;
    item["picture"] = DataUri("image/jpeg", slide.jpeg);
    item["message"] = slide.message;
    item["voice"] = DataUri("audio/mpeg", slide.mp3);
    item["afterVoiceMs"] = slide.timing.afterVoiceMs;
    item["withoutVoiceMs"] = slide.timing.withoutVoiceMs;
    slides.append(item);
  }
  QJsonArray links;
  for (const WebLink& link : show.links) {
    links.append(QJsonObject{{"caption", link.caption},
                             {"url", IsSafeLinkAddress(link.url) ? link.url : QString()}});
  }
  const WebTexts& texts = show.texts;
  const QJsonObject words{{"onePicture", texts.onePicture},
                          {"pictures", texts.pictures},
                          {"pictureOf", texts.pictureOf},
                          {"paused", texts.paused}};
  const QJsonObject data{
      {"title", show.title}, {"slides", slides}, {"links", links}, {"texts", words}};
  return QJsonDocument(data).toJson(QJsonDocument::Compact).replace("<", "\\u003c");
}

// Fills every {{NAME}} of the template in one pass, so that nothing filled in (a title or
// a message holding "{{...}}") is ever taken for a place to fill.
QByteArray FillTemplate(const QByteArray& page, const std::map<QByteArray, QByteArray>& values) {
  QByteArray out;
  qsizetype from = 0;
  std::set<QByteArray> filled;
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
  if (filled.size() != values.size())
    throw EWebExportError("the page template lacks a place to fill");
  return out;
}

}  // namespace

bool IsSafeLinkAddress(const QString& url) {
  const QUrl parsed(url.trimmed(), QUrl::StrictMode);
  const QString scheme = parsed.scheme().toLower();
  return parsed.isValid() && (scheme == "http" || scheme == "https" || scheme == "mailto");
}

std::string RenderWebSlideshow(const WebShow& show) {
  const QByteArray csp = "default-src 'none'; script-src " + HashSource(kWebPageScript) +
                         "; style-src " + HashSource(kWebPageStyle) +
                         "; img-src data:; media-src data:; base-uri 'none'; form-action 'none'";
  const WebTexts& texts = show.texts;
  const QByteArray page = FillTemplate(kWebPageHtml, {{"CSP", csp},
                                                      {"LANG", EscapeHtml(texts.language)},
                                                      {"TITLE", EscapeHtml(show.title)},
                                                      {"SLIDESHOW", EscapeHtml(texts.slideshow)},
                                                      {"LINKS", EscapeHtml(texts.links)},
                                                      {"PLAY", EscapeHtml(texts.play)},
                                                      {"LOADING", EscapeHtml(texts.loading)},
                                                      {"KEYS", EscapeHtml(texts.keys)},
                                                      {"END", EscapeHtml(texts.end)},
                                                      {"THE_END", EscapeHtml(texts.theEnd)},
                                                      {"PLAY_AGAIN", EscapeHtml(texts.playAgain)},
                                                      {"STYLE", kWebPageStyle},
                                                      {"SCRIPT", kWebPageScript},
                                                      {"DATA", ShowData(show)}});
  return page.toStdString();
}

}  // namespace tovak
