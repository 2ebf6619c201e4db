#include "i18n/dictionary.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "common/atomic_file.h"

namespace tovak {

namespace {

constexpr std::string_view kHeader = "tovak-mld 1";

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

// Splits off the text up to the next separator; the rest stays in line.
std::string_view Take(std::string_view& line, char separator) {
  const size_t at = line.find(separator);
  const std::string_view head = line.substr(0, at);
  line = at == std::string_view::npos ? std::string_view() : line.substr(at + 1);
  return head;
}

}  // namespace

Dictionary ParseDictionary(std::string_view text) {
  Dictionary dictionary;
  int number = 0;
  bool headed = false;
  while (!text.empty()) {
    std::string_view line = Take(text, '\n');
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto fail = [&](const std::string& why) {
      throw EDictionaryError("Dictionary line " + std::to_string(number) + ": " + why);
    };
    if (!headed) {
      if (line != kHeader) fail("not a dictionary of this program");
      headed = true;
      continue;
    }
    if (line.empty() || line.front() == '#') continue;
    const std::string_view keyword = Take(line, ' ');
    if (keyword == "language") {
      DictionaryLanguage language;
      const std::string_view value = Take(line, ' ');
      const auto [end, error] =
          std::from_chars(value.data(), value.data() + value.size(), language.value);
      if (error != std::errc() || end != value.data() + value.size()) fail("bad language value");
      language.locale = Take(line, ' ');
      language.name = line;
      if (language.locale.empty() || language.name.empty()) fail("language without a name");
      dictionary.languages.push_back(std::move(language));
    } else if (keyword == "text") {
      if (dictionary.languages.empty()) fail("text before any language");
      std::string context, source, translation;
      const std::string_view rawContext = Take(line, '\t');
      const std::string_view rawSource = Take(line, '\t');
      if (line.find('\t') != std::string_view::npos || !Unescape(rawContext, context) ||
          !Unescape(rawSource, source) || !Unescape(line, translation) || source.empty()) {
        fail("bad text");
      }
      dictionary.languages.back().texts[{context, source}] = translation;
    } else {
      fail("unknown entry");
    }
  }
  if (!headed) throw EDictionaryError("The dictionary is empty");
  return dictionary;
}

Dictionary ReadDictionary(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EDictionaryError("Cannot open the dictionary " + path);
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) throw EDictionaryError("Cannot read the dictionary " + path);
  return ParseDictionary(text.str());
}

std::string FormatDictionary(const Dictionary& dictionary) {
  std::string out(kHeader);
  out += '\n';
  for (const DictionaryLanguage& language : dictionary.languages) {
    out += "language " + std::to_string(language.value) + ' ' + language.locale + ' ' +
           language.name + '\n';
    for (const auto& [key, translation] : language.texts) {
      out += "text " + Escape(key.first) + '\t' + Escape(key.second) + '\t' + Escape(translation) +
             '\n';
    }
  }
  return out;
}

void WriteDictionary(const std::string& path, const Dictionary& dictionary) {
  const std::string text = FormatDictionary(dictionary);
  std::string error;
  if (!WriteFileAtomically(path, text.data(), static_cast<int64_t>(text.size()), &error)) {
    throw EDictionaryError("Cannot write the dictionary " + path + ": " + error);
  }
}

bool KnownLanguage(const std::string& locale, int& value, std::string& name) {
  static const struct {
    const char* code;
    int value;
    const char* name;
  } kLanguages[] = {{"en", 1033, "English"},
                    {"de", 1031, "Deutsch"},
                    {"fr", 1036,
                     "Fran\xC3\xA7"
                     "ais"},
                    {"es", 3082, "Espa\xC3\xB1ol"}};
  const std::string code = locale.substr(0, locale.find_first_of("_-"));
  for (const auto& known : kLanguages) {
    if (code == known.code) {
      value = known.value;
      name = known.name;
      return true;
    }
  }
  return false;
}

}  // namespace tovak
