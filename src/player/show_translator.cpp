#include "player/show_translator.h"

#include "i18n/dictionary.h"

namespace tovak {

namespace {

uint16_t LanguageOf(const std::string& locale) {
  int value = 0;
  std::string name;
  return KnownLanguage(locale, value, name) ? static_cast<uint16_t>(value) : 0;
}

}  // namespace

ShowTranslator::ShowTranslator(const std::string& locale)
    : texts_(BuiltInShowTranslations(), LanguageOf(locale)) {}

QString ShowTranslator::translate(const char* context, const char* sourceText, const char*,
                                  int) const {
  if (!context || !sourceText) return {};
  const char* text = texts_.Text(context, sourceText);
  // A null string lets Qt show the English text.
  return text == sourceText ? QString() : QString::fromUtf8(text);
}

}  // namespace tovak
