#pragma once

// Also read by the Windows engine, which has no Qt: the marker only tells the translation tools
// where the texts are.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace tovak {

// The keys the show answers to, for its help screen and its usage text. The help screen shows
// them in the user's language (plain letters need no translation); the usage text stays in English
// like the rest of the terminal.
struct ShowKey {
  const char* keys;
  const char* action;
};

inline constexpr const char* kShowKeysContext = "tovak::ShowKeys";

inline constexpr ShowKey kShowKeys[] = {
    {QT_TRANSLATE_NOOP("tovak::ShowKeys", "Space, Right, Page Down, click"),
     QT_TRANSLATE_NOOP("tovak::ShowKeys", "Next picture")},
    {QT_TRANSLATE_NOOP("tovak::ShowKeys", "Left, Backspace, Page Up"),
     QT_TRANSLATE_NOOP("tovak::ShowKeys", "Previous picture")},
    {QT_TRANSLATE_NOOP("tovak::ShowKeys", "Home, End"),
     QT_TRANSLATE_NOOP("tovak::ShowKeys", "First, last picture")},
    {"P", QT_TRANSLATE_NOOP("tovak::ShowKeys", "Pause, go on")},
    {"R", QT_TRANSLATE_NOOP("tovak::ShowKeys", "Replay the voice")},
    {QT_TRANSLATE_NOOP("tovak::ShowKeys", "Up, +"), QT_TRANSLATE_NOOP("tovak::ShowKeys", "Louder")},
    {QT_TRANSLATE_NOOP("tovak::ShowKeys", "Down, -"),
     QT_TRANSLATE_NOOP("tovak::ShowKeys", "Softer")},
    {"M", QT_TRANSLATE_NOOP("tovak::ShowKeys", "Mute, unmute")},
    {"F", QT_TRANSLATE_NOOP("tovak::ShowKeys", "Full screen")},
    {"F1, ?", QT_TRANSLATE_NOOP("tovak::ShowKeys", "These keys")},
    {"Esc", QT_TRANSLATE_NOOP("tovak::ShowKeys", "Quit")},
};

}  // namespace tovak
