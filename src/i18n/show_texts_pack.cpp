// Writes the translations of the show's own texts as C++ table rows for the Windows engine,
// which has no Qt to read them at run time: tovak-show-texts -o FILE [TS...].
#include <cstdio>
#include <set>
#include <string>

#include "common/atomic_file.h"
#include "i18n/dictionary.h"
#include "i18n/ts_file.h"

namespace {

// What the show puts on screen; the rest of the program's texts would only weigh the engine.
const std::set<std::string> kShowContexts = {"tovak::EndScreen", "tovak::PlayerWindow",
                                             "tovak::ShowKeys", "tovak::ShowProblem",
                                             "tovak::ShowVolume"};

// A C++ string literal of any bytes. Octal escapes, unlike hex ones, cannot swallow the
// characters after them.
std::string Literal(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c >= 0x7f || c == '?') {  // '?' too: no trigraphs
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03o", c);
      out += escape;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  std::string output;
  std::string rows = "// Made from the translation sources by tovak-show-texts.\n";
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "-o" && i + 1 < argc) {
        output = argv[++i];
        continue;
      }
      // Only texts without problems: a broken one shows in English rather than garbled.
      const tovak::DictionaryLanguage language =
          tovak::ToDictionaryLanguage(tovak::ReadTsFile(arg));
      for (const auto& [key, translation] : language.texts) {
        if (!kShowContexts.count(key.first)) continue;
        rows += "{" + std::to_string(language.value) + ", " + Literal(key.first) + ", " +
                Literal(key.second) + ", " + Literal(translation) + "},\n";
      }
    }
    if (output.empty()) {
      std::fprintf(stderr, "Usage: %s -o FILE [TS...]\n", argv[0]);
      return 2;
    }
    if (std::string error; !tovak::WriteFileAtomically(output, rows.data(),
                                                       static_cast<int64_t>(rows.size()), &error)) {
      std::fprintf(stderr, "tovak-show-texts: %s: %s\n", output.c_str(), error.c_str());
      return 1;
    }
  } catch (const tovak::Exception& e) {
    std::fprintf(stderr, "tovak-show-texts: %s\n", e.what());
    return 1;
  }
  return 0;
}
