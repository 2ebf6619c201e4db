#include "i18n/language_dictionary.h"

#include <QCoreApplication>
#include <QLocale>

#include "i18n/qt_catalogue.h"

namespace tovak {

void DictionaryTranslator::SetLanguage(const DictionaryLanguage* language) {
  language_ = language ? *language : DictionaryLanguage{};
}

QString DictionaryTranslator::translate(const char* context, const char* sourceText, const char*,
                                        int) const {
  if (!context || !sourceText) return QString();
  const auto found = language_.texts.find({context, sourceText});
  return found == language_.texts.end() ? QString() : QString::fromStdString(found->second);
}

bool DictionaryTranslator::isEmpty() const {
  return language_.texts.empty();
}

LanguageDictionary::LanguageDictionary() = default;

LanguageDictionary::~LanguageDictionary() {
  if (!QCoreApplication::instance()) return;
  if (installed_) QCoreApplication::removeTranslator(&translator_);
  if (qtInstalled_) QCoreApplication::removeTranslator(&qtTranslator_);
}

void LanguageDictionary::SetFileName(const std::string& path) {
  if (path == fileName_) return;
  fileName_ = path;
  Open();
}

bool LanguageDictionary::Open() {
  const int current = Language();
  try {
    dictionary_ = ReadDictionary(fileName_);
    open_ = true;
  } catch (const EDictionaryError&) {
    dictionary_ = Dictionary{};
    open_ = false;
  }
  // The texts may have changed under the same language: the next SetLanguage installs them.
  index_ = open_ ? Resolve(current) : 0;
  reloaded_ = true;
  return open_;
}

int LanguageDictionary::Resolve(int value) const {
  const auto& languages = dictionary_.languages;
  const auto indexOf = [&](auto match) {
    for (size_t i = 0; i < languages.size(); ++i) {
      if (match(languages[i])) return static_cast<int>(i) + 1;
    }
    return 0;
  };
  int index = 0;
  if (value == -1) {
    const std::string system = QLocale().name().section('_', 0, 0).toStdString();
    index = indexOf([&](const DictionaryLanguage& l) { return l.locale == system; });
  } else {
    index = indexOf([&](const DictionaryLanguage& l) { return l.value == value; });
  }
  if (index == 0) index = indexOf([](const DictionaryLanguage& l) { return l.value == kEnglish; });
  return index;
}

void LanguageDictionary::SetLanguage(int value) {
  const int index = Resolve(value);
  if (index == applied_ && !reloaded_) return;
  index_ = applied_ = index;
  reloaded_ = false;
  Install();
}

int LanguageDictionary::Language() const {
  return index_ > 0 ? dictionary_.languages[index_ - 1].value : -1;
}

std::string LanguageDictionary::Locale() const {
  return index_ > 0 ? dictionary_.languages[index_ - 1].locale : "en";
}

void LanguageDictionary::Install() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
  if (qtInstalled_) QCoreApplication::removeTranslator(&qtTranslator_);
  installed_ = qtInstalled_ = false;
  translator_.SetLanguage(index_ > 0 ? &dictionary_.languages[index_ - 1] : nullptr);
  if (!translator_.isEmpty()) installed_ = QCoreApplication::installTranslator(&translator_);
  // Qt's own texts (standard buttons, the file dialog) in the same language, when installed.
  if (LoadQtCatalogue(qtTranslator_, QString::fromStdString(Locale()))) {
    qtInstalled_ = QCoreApplication::installTranslator(&qtTranslator_);
  }
}

}  // namespace tovak
