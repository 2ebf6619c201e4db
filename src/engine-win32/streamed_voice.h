#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "audio/wav_reader.h"

namespace tovak {

// A voice read straight from its record in the package and expanded piece by piece while it
// plays, so that a voice of any length costs the same few buffers: neither the stored record
// nor the expanded WAV file is ever held whole.
class StreamedVoice {
 public:
  // Reads the record's container header and the WAV header at the start of what it expands to.
  // Throws Exception when the voice is damaged, cannot be played, or is larger or longer than
  // any show's voice.
  void Open(const std::string& path, int64_t offset, int64_t size);

  // The format, and where the sound lies in the expanded WAV file; no sound for no voice.
  const WavInfo& Info() const { return info_; }

  // Expands the voice from its start and hands its sound bytes, in order and nothing else, to
  // take; take returns false to stop. Returns once the sound is handed over, take stopped it, or
  // the expansion met damage (whatever came before the damage has been handed over).
  using Take = std::function<bool(const uint8_t* bytes, size_t count)>;
  void Play(const Take& take) const;

 private:
  std::string path_;
  int64_t offset_ = 0;
  int64_t size_ = 0;
  WavInfo info_;
};

}  // namespace tovak
