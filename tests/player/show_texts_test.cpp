#include "player/show_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "player/show_keys.h"

namespace tovak {
namespace {

TEST(ShowTexts, EveryShippedLanguageHasEveryTextTheEngineShows) {
  const ShowTranslation* table = BuiltInShowTranslations();
  std::set<uint16_t> languages;
  for (const ShowTranslation* t = table; t->language != 0; ++t) languages.insert(t->language);
  EXPECT_GE(languages.size(), 3u);
  for (const uint16_t language : languages) {
    const ShowTexts texts(table, language);
    ASSERT_EQ(texts.Language(), language);
    // A text missing from the table would quietly show in English.
    for (const ShowText& text : kEngineTexts)
      EXPECT_NE(texts.Text(text), text.source) << language << " " << text.source;
    for (const ShowKey& key : kShowKeys) {
      EXPECT_NE(texts.Text(kShowKeysContext, key.action), key.action) << language;
      // Lists of named keys ("Left, Backspace") are translated; "Esc" and "F1, ?" are not.
      const std::string keys = key.keys;
      if (keys.find(", ") != std::string::npos &&
          keys.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) {
        EXPECT_NE(texts.Text(kShowKeysContext, key.keys), key.keys) << language << " " << keys;
      }
    }
  }
}

TEST(ShowTexts, FollowsTheWatchersLanguageElseEnglish) {
  const ShowTranslation* table = BuiltInShowTranslations();
  // Austrian German reads German; the same English source in two contexts keeps each its own.
  const ShowTexts austrian(table, 0x0c07);
  EXPECT_EQ(austrian.Language(), 0x0407);
  EXPECT_STREQ(austrian.Text(kEndOfTheShow), "Ende der Vorf\xc3\xbchrung");
  EXPECT_STREQ(austrian.Text(kMenuClose),
               "Schlie\xc3\x9f"
               "en");
  EXPECT_STREQ(austrian.Text("tovak::ShowKeys", "no such text"), "no such text");
  EXPECT_STREQ(ShowTexts(table, 0x0c0a).Text(kPlayAgain),
               ShowTexts(table, 0x040a).Text(kPlayAgain));
  const ShowTexts japanese(table, 0x0411);
  EXPECT_EQ(japanese.Language(), 0);
  EXPECT_STREQ(japanese.Text(kVolume), "Volume %1 %");
}

}  // namespace
}  // namespace tovak
