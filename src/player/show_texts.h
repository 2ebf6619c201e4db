#pragma once

#include <cstdint>

namespace tovak {

// The show's own words (the key list, the end screen, the volume) in the language of whoever
// watches, from the translations the program itself ships; a sent show is watched far from the
// program's language settings. Plain C++, shared by the Windows engine and the Linux player.

struct ShowText {
  const char* context;
  const char* source;
};

// One translated text, as the build generates them from the translation sources.
struct ShowTranslation {
  uint16_t language;  // a Windows locale id; 0 ends the table
  const char* context;
  const char* source;
  const char* translation;  // UTF-8
};

inline constexpr ShowText kEndOfTheShow{"tovak::EndScreen", "End of the show"};
inline constexpr ShowText kPlayAgain{"tovak::EndScreen", "Play again"};
inline constexpr ShowText kEndClose{"tovak::EndScreen", "Close"};
inline constexpr ShowText kMenuClose{"tovak::PlayerWindow", "Close"};
inline constexpr ShowText kPaused{"tovak::PlayerWindow", "(paused)"};
inline constexpr ShowText kMuted{"tovak::ShowVolume", "Muted"};
inline constexpr ShowText kVolume{"tovak::ShowVolume", "Volume %1 %"};
inline constexpr ShowText kKeysClose{"tovak::ShowKeys", "Any key or click closes."};
// Above the reason, which is for whoever made the show and stays in English.
inline constexpr ShowText kDamagedShow{"tovak::ShowProblem",
                                       "This slideshow cannot be played. It may have been damaged "
                                       "on its way: ask for it to be sent again."};

// A bare player, started without a show, tells whoever started it how to make one.
inline constexpr ShowText kNoSlideshow{
    "tovak::ShowProblem", "This player has no slideshow attached. Build one with Quillora Tovak!"};

inline constexpr ShowText kEngineTexts[] = {kEndOfTheShow, kPlayAgain,  kEndClose, kMenuClose,
                                            kPaused,       kMuted,      kVolume,   kKeysClose,
                                            kDamagedShow,  kNoSlideshow};

// The texts in the language of the Windows locale id language: its own, else those of its
// primary language (German for Austrian German), else English.
class ShowTexts {
 public:
  ShowTexts(const ShowTranslation* table, uint16_t language);
  // The translation of source in context, or source itself.
  const char* Text(const char* context, const char* source) const;
  const char* Text(const ShowText& text) const { return Text(text.context, text.source); }
  uint16_t Language() const { return language_; }

 private:
  const ShowTranslation* table_;
  uint16_t language_ = 0;  // 0 for English
};

// The table built into the players.
const ShowTranslation* BuiltInShowTranslations();

}  // namespace tovak
