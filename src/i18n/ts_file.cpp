#include "i18n/ts_file.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>

namespace tovak {

namespace {

std::vector<std::string> Placeholders(const std::string& text) {
  std::vector<std::string> found;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '%') continue;
    const char next = text[i + 1];
    if (next == '%') {
      ++i;  // a literal percent sign
    } else if (next == 's' || next == 'd' || (next >= '1' && next <= '9')) {
      found.push_back(text.substr(i, 2));
      ++i;
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The text up to the end of the current element. Control characters that XML cannot hold come
// as <byte value="xd"/> (hexadecimal after "x", else decimal); a plural translation keeps its
// first form only, the program having no plural texts.
QString ElementText(QXmlStreamReader& xml) {
  QString text;
  int forms = 0;  // plural forms met so far
  bool inForm = false;
  int depth = 1;
  const auto wanted = [&] { return forms == 0 || (inForm && forms == 1); };
  while (depth > 0 && !xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      ++depth;
      if (xml.name() == QLatin1String("numerusform")) {
        if (forms++ == 0) text.clear();
        inForm = true;
      } else if (xml.name() == QLatin1String("byte") && wanted()) {
        const QString value = xml.attributes().value("value").toString();
        text += QChar(value.startsWith('x') ? value.mid(1).toUInt(nullptr, 16) : value.toUInt());
      }
    } else if (xml.isEndElement()) {
      --depth;
      if (xml.name() == QLatin1String("numerusform")) inForm = false;
    } else if (xml.isCharacters() && wanted()) {
      text += xml.text();
    }
  }
  return text;
}

}  // namespace

TsFile ReadTsFile(const std::string& path) {
  QFile device(QString::fromStdString(path));
  if (!device.open(QIODevice::ReadOnly)) {
    throw EDictionaryError("Cannot open the translation " + path);
  }
  TsFile file;
  QXmlStreamReader xml(&device);
  std::string context;
  TsMessage message;
  bool skip = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const auto name = xml.name();
      if (name == QLatin1String("TS")) {
        file.language = xml.attributes().value("language").toString().toStdString();
      } else if (name == QLatin1String("name")) {
        context = xml.readElementText().toStdString();
      } else if (name == QLatin1String("message")) {
        message = TsMessage{context, {}, {}, false};
        skip = false;
      } else if (name == QLatin1String("source")) {
        message.source = ElementText(xml).toStdString();
      } else if (name == QLatin1String("translation")) {
        const QStringView type = xml.attributes().value("type");
        skip = type == QLatin1String("vanished") || type == QLatin1String("obsolete");
        const bool unfinished = type == QLatin1String("unfinished");
        message.translation = ElementText(xml).toStdString();
        message.finished = !unfinished && !message.translation.empty();
      }
    } else if (xml.isEndElement() && xml.name() == QLatin1String("message") && !skip) {
      file.messages.push_back(message);
    }
  }
  if (xml.hasError()) {
    throw EDictionaryError(path + ":" + std::to_string(xml.lineNumber()) + ": " +
                           xml.errorString().toStdString());
  }
  if (file.language.empty()) throw EDictionaryError(path + " names no language");
  return file;
}

// Empty when the message can ship.
static std::string Problem(const TsMessage& message) {
  if (!message.finished) return "not translated";
  if (Placeholders(message.source) != Placeholders(message.translation)) {
    return "placeholders differ in \"" + message.translation + "\"";
  }
  return std::string();
}

std::vector<std::string> TranslationProblems(const TsFile& file) {
  std::vector<std::string> problems;
  for (const TsMessage& message : file.messages) {
    const std::string problem = Problem(message);
    if (!problem.empty()) {
      problems.push_back(file.language + " " + message.context + " \"" + message.source +
                         "\": " + problem);
    }
  }
  return problems;
}

DictionaryLanguage ToDictionaryLanguage(const TsFile& file) {
  DictionaryLanguage language;
  if (!KnownLanguage(file.language, language.value, language.name)) {
    throw EDictionaryError("Unknown language " + file.language);
  }
  language.locale = file.language.substr(0, file.language.find_first_of("_-"));
  for (const TsMessage& message : file.messages) {
    if (Problem(message).empty()) {
      language.texts[{message.context, message.source}] = message.translation;
    }
  }
  return language;
}

}  // namespace tovak
