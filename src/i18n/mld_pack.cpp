// Builds the program's dictionary from the translation sources: tovak-mld-pack -o FILE [TS...].
// English comes first; every other language follows in the order given.
#include <cstdio>
#include <string>

#include "i18n/dictionary.h"
#include "i18n/ts_file.h"

int main(int argc, char** argv) {
  std::string output;
  tovak::Dictionary dictionary;
  dictionary.languages.push_back({1033, "en", "English", {}});
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "-o" && i + 1 < argc) {
        output = argv[++i];
        continue;
      }
      const tovak::TsFile file = tovak::ReadTsFile(arg);
      const size_t unfinished = tovak::TranslationProblems(file).size();
      if (unfinished > 0) {
        std::fprintf(stderr, "tovak-mld-pack: %s: %zu texts stay in English\n", arg.c_str(),
                     unfinished);
      }
      dictionary.languages.push_back(tovak::ToDictionaryLanguage(file));
    }
    if (output.empty()) {
      std::fprintf(stderr, "Usage: %s -o FILE [TS...]\n", argv[0]);
      return 2;
    }
    tovak::WriteDictionary(output, dictionary);
  } catch (const tovak::Exception& e) {
    std::fprintf(stderr, "tovak-mld-pack: %s\n", e.what());
    return 1;
  }
  return 0;
}
