#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/exception.h"

namespace tovak {

// The dictionary file "tovak!.mld": every language of the program in one plain UTF-8 text file,
// read when the program starts and whenever the user changes the language.
//
//   tovak-mld 1
//   language 1033 en English
//   language 1031 de Deutsch
//   text tovak::TfmPlimoMainScreen<TAB>&Go!<TAB>&Los!
//   ...
//
// The first line names the format and its version. Each "language" line starts a language:
// its value (a Windows locale id: 1033 English, 1031 German, 1036 French, 3082 Spanish), its
// locale code (which picks Qt's own catalogue and matches the system's language) and, to the end
// of the line, its name in its own language. The "text" lines after it are that language's
// translations: context, English source and translation, separated by tabs; a backslash escapes
// a tab (\t), a line break (\n, \r) or itself (\\). Languages are numbered from 1 in file order,
// which is the column order of the configured link entries. Empty lines and lines starting with
// "#" are skipped. English comes first and needs no texts.
struct DictionaryLanguage {
  int value = 0;
  std::string locale;
  std::string name;
  // (context, English source) -> translation.
  std::map<std::pair<std::string, std::string>, std::string> texts;

  bool operator==(const DictionaryLanguage&) const = default;
};

struct Dictionary {
  std::vector<DictionaryLanguage> languages;

  bool operator==(const Dictionary&) const = default;
};

class EDictionaryError : public Exception {
 public:
  using Exception::Exception;
};

// Throw EDictionaryError naming the line that is wrong.
Dictionary ParseDictionary(std::string_view text);
Dictionary ReadDictionary(const std::string& path);

std::string FormatDictionary(const Dictionary& dictionary);
// Wholly new or wholly old; throws EDictionaryError when it cannot be written.
void WriteDictionary(const std::string& path, const Dictionary& dictionary);

// The languages the program ships, by locale code ("de" or "de_DE"): value and own name.
// False for a language we do not know.
bool KnownLanguage(const std::string& locale, int& value, std::string& name);

}  // namespace tovak
