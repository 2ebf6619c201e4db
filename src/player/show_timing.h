#pragma once

#include <algorithm>
#include <cstddef>

namespace tovak {

// How long a picture stays on screen. The native player and the web slideshow both time their
// pictures by these rules, so a show paces the same wherever it is played.

// A picture without a voice stays this long before its reading pause.
inline constexpr int kSilentPictureMs = 4000;

// The pause after the voice, to finish reading the message: about 25 characters a second,
// never less than a breath or more than 15 s.
constexpr int ReadingPauseMs(size_t messageLength) {
  return static_cast<int>(std::clamp<size_t>(1500 + 40 * messageLength, 1500, 15000));
}

struct SlideTiming {
  int afterVoiceMs = 0;    // once the voice has ended
  int withoutVoiceMs = 0;  // when there is no voice, or it cannot be played
};

constexpr SlideTiming TimeSlide(size_t messageLength) {
  return {ReadingPauseMs(messageLength), kSilentPictureMs + ReadingPauseMs(messageLength)};
}

}  // namespace tovak
