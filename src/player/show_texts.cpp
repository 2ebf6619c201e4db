#include "player/show_texts.h"

#include <cstring>

namespace tovak {

namespace {

uint16_t PrimaryLanguage(uint16_t language) {
  return language & 0x3ff;
}

}  // namespace

ShowTexts::ShowTexts(const ShowTranslation* table, uint16_t language) : table_(table) {
  // The exact locale first, so a table with both Spanish of Spain and of Mexico picks right.
  for (const ShowTranslation* t = table_; t->language != 0; ++t) {
    if (t->language == language) {
      language_ = language;
      return;
    }
  }
  for (const ShowTranslation* t = table_; t->language != 0; ++t) {
    if (PrimaryLanguage(t->language) == PrimaryLanguage(language)) {
      language_ = t->language;
      return;
    }
  }
}

const char* ShowTexts::Text(const char* context, const char* source) const {
  if (language_ == 0) return source;
  for (const ShowTranslation* t = table_; t->language != 0; ++t) {
    if (t->language == language_ && std::strcmp(t->source, source) == 0 &&
        std::strcmp(t->context, context) == 0)
      return t->translation;
  }
  return source;
}

#ifdef TOVAK_SHOW_TRANSLATIONS
const ShowTranslation* BuiltInShowTranslations() {
  static constexpr ShowTranslation kTable[] = {
#include TOVAK_SHOW_TRANSLATIONS
      {0, "", "", ""}};
  return kTable;
}
#else
const ShowTranslation* BuiltInShowTranslations() {
  static constexpr ShowTranslation kTable[] = {{0, "", "", ""}};
  return kTable;
}
#endif

}  // namespace tovak
