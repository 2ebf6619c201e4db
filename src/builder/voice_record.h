#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tovak {

// A voice whose sound, as a player expands it, is larger than this may not find room in a
// 32-bit engine. Such a process has 2 GB of addresses on 32-bit Windows, shared with the
// program, its libraries, the picture on screen and the sound device's buffers, and holds a
// playing voice's sound in one block; past a few hundred megabytes a free block that large is
// no longer to be counted on. 256 MB is 23 minutes of 48 kHz 16-bit stereo sound, or 6 hours of
// what the editor records.
inline constexpr uint64_t kRiskyVoiceBytes = uint64_t{256} << 20;

// The voices of a show, judged from their headers before anything is built.
struct VoiceCheck {
  // The first voice that no player plays and that cannot be made playable, and why; empty when
  // every voice can be stored.
  std::string refusedFile;
  std::string refusal;
  // The voices long enough to put a 32-bit engine at risk, and a line for each that names its
  // file and picture.
  std::vector<std::string> longFiles;
  std::vector<std::string> warnings;
};

// voices[i] belongs to picture i + 1; an empty or missing entry has no voice.
VoiceCheck CheckVoices(const std::vector<std::string>& voices);

// The voice record of the file at voicePath (none when the path is empty or no file is there):
// the file in the compressed container, made 16-bit PCM first when no player would play it as
// it is. service runs between pieces of work and may throw to stop. Throws EPlimoError.
std::vector<uint8_t> PackVoice(const std::string& voicePath, const std::function<void()>& service);

}  // namespace tovak
