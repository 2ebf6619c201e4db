#pragma once

#include <cstdint>
#include <vector>

#include "common/exception.h"

namespace tovak {

// A voice that cannot be encoded: not a WAV file we read, or the encoder refused it.
class EMp3Error : public Exception {
 public:
  using Exception::Exception;
};

// How a voice is encoded: an average bit rate at an output sample rate the encoder resamples to.
struct Mp3Settings {
  int kbps = 32;
  int sampleRate = 22050;
  // The encoder's search effort, 0 (slowest, best) to 9 (fastest).
  int quality = 5;
};

// The setting voices are encoded with.
inline constexpr Mp3Settings kSpeechMp3{32, 22050, 5};

// Encodes a voice comment (a PCM WAV file in memory: 8 or 16 bits, mono or stereo, any rate) as
// a mono MP3 tuned for speech, with the header browsers read its exact length from. An empty
// data chunk gives no bytes. Throws EMp3Error.
std::vector<uint8_t> EncodeSpeechMp3(const std::vector<uint8_t>& wav);

// The same with other settings, for measuring.
std::vector<uint8_t> EncodeMp3(const std::vector<uint8_t>& wav, const Mp3Settings& settings);

}  // namespace tovak
