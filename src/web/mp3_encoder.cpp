#include "web/mp3_encoder.h"

namespace tovak {

std::vector<uint8_t> EncodeSpeechMp3(const std::vector<uint8_t>&) {
  throw EMp3Error("MP3 encoding is not built yet");
}

}  // namespace tovak
