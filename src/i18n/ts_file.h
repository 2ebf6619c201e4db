#pragma once

#include <string>
#include <vector>

#include "i18n/dictionary.h"

namespace tovak {

// One translation source as Qt Linguist keeps it (.ts XML): the language and its messages.
struct TsMessage {
  std::string context;
  std::string source;
  std::string translation;
  bool finished = false;  // neither unfinished nor empty
};

struct TsFile {
  std::string language;  // as written, "de" or "de_DE"
  std::vector<TsMessage> messages;
};

// Throws EDictionaryError when the file cannot be read or is not translation XML. Messages that
// lupdate marked vanished or obsolete are left out: the program no longer shows them.
TsFile ReadTsFile(const std::string& path);

// What keeps a file from shipping: unfinished or empty translations, and translations that lose
// or add a placeholder (%s, %d, %1..%9), which would drop or garble a file name or a number.
std::vector<std::string> TranslationProblems(const TsFile& file);

// The dictionary language of a translation source: only the messages without problems, so the
// others show in English. Throws EDictionaryError for a language the program does not know.
DictionaryLanguage ToDictionaryLanguage(const TsFile& file);

}  // namespace tovak
