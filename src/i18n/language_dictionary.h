#pragma once

#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

#include "i18n/dictionary.h"

namespace tovak {

constexpr int kEnglish = 1033;
constexpr const char* kDictionaryFileName = "tovak!.mld";

// Translates by context and English text from one language of the dictionary. Texts it does
// not hold stay in English.
class DictionaryTranslator : public QTranslator {
 public:
  void SetLanguage(const DictionaryLanguage* language);

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
  bool isEmpty() const override;

 private:
  DictionaryLanguage language_;
};

// The program's dictionary: the file, its languages and the one that is current. Making a
// language current installs its translations in the application, which tells every window to
// translate itself again.
class LanguageDictionary {
 public:
  LanguageDictionary();
  ~LanguageDictionary();
  LanguageDictionary(const LanguageDictionary&) = delete;
  LanguageDictionary& operator=(const LanguageDictionary&) = delete;

  // A new name opens the dictionary from that file; the same name keeps it as it is.
  void SetFileName(const std::string& path);
  const std::string& FileName() const { return fileName_; }
  // Reads the file again. False (and closed) when it is missing or unreadable; the current
  // language then goes back to English.
  bool Open();
  bool IsOpen() const { return open_; }
  const std::vector<DictionaryLanguage>& Languages() const { return dictionary_.languages; }

  // value -1 (no choice yet) takes the system's language when the dictionary has it, else
  // English. A value the dictionary lacks also gives English.
  void SetLanguage(int value);
  // The current language's value, its 1-based number in the dictionary (0: none) and locale.
  int Language() const;
  int LanguageIndex() const { return index_; }
  std::string Locale() const;

 private:
  int Resolve(int value) const;
  void Install();

  std::string fileName_;
  bool open_ = false;
  Dictionary dictionary_;
  int index_ = 0;
  int applied_ = -1;  // the language whose texts are installed
  bool reloaded_ = false;
  DictionaryTranslator translator_;
  QTranslator qtTranslator_;
  bool installed_ = false;
  bool qtInstalled_ = false;
};

}  // namespace tovak
