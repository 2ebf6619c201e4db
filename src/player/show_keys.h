#pragma once

namespace tovak {

// The keys the show answers to, for its help screen and its usage text.
struct ShowKey {
  const char* keys;
  const char* action;
};

inline constexpr ShowKey kShowKeys[] = {
    {"Space, Right, Page Down, click", "Next picture"},
    {"Left, Backspace, Page Up", "Previous picture"},
    {"Home, End", "First, last picture"},
    {"P", "Pause, go on"},
    {"R", "Replay the voice"},
    {"Up, +", "Louder"},
    {"Down, -", "Softer"},
    {"M", "Mute, unmute"},
    {"F", "Full screen"},
    {"F1, ?", "These keys"},
    {"Esc", "Quit"},
};

}  // namespace tovak
