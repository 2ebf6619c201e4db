#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/wav_stream.h"
#include "video/av_handles.h"

namespace tovak {

// A voice's PCM samples (8 or 16 bits, one or two channels, any rate) as mono samples from -1 to
// 1 at another rate, handed out a piece at a time: only a little of the converted voice is ever
// held beside the voice itself.
class VoiceResampler {
 public:
  // Throws EVideoExportError when the format cannot be converted.
  VoiceResampler(std::vector<uint8_t> samples, const TWaveFormatEx& format, int rate);

  // Puts up to count samples at out and returns how many; fewer only once the voice is over.
  size_t Read(float* out, size_t count);

 private:
  // Converts the next stretch of the voice (or, at its end, what the resampler holds back).
  void Convert();

  std::vector<uint8_t> samples_;
  size_t frameBytes_ = 0;
  size_t nextFrame_ = 0;  // of the input
  int inRate_ = 0;
  int outRate_ = 0;
  av::Resample resampler_;
  std::vector<float> ready_;
  size_t readyAt_ = 0;
  bool ended_ = false;
};

}  // namespace tovak
