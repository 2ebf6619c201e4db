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

// Encodes a voice comment (a PCM WAV file in memory: 8 or 16 bits, mono or stereo, any rate) as
// a mono MP3 tuned for speech, with the header browsers read its exact length from. An empty
// data chunk gives no bytes. Throws EMp3Error.
std::vector<uint8_t> EncodeSpeechMp3(const std::vector<uint8_t>& wav);

}  // namespace tovak
