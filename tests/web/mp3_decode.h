#pragma once

#include <lame/lame.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tovak::testing {

// An MP3 decoded with the encoder library's own decoder, as a browser would play it: the delay
// and padding the Info/LAME tag declares are cut from the ends.
struct DecodedMp3 {
  std::vector<int16_t> samples;  // first channel
  int channels = 0;
  int sampleRate = 0;
  int encoderDelay = -1;  // -1: no tag
  int padding = -1;
  bool failed = false;

  double Seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }
};

inline DecodedMp3 DecodeMp3(std::vector<uint8_t> mp3) {
  DecodedMp3 result;
  hip_t hip = hip_decode_init();
  mp3data_struct info{};
  std::vector<int16_t> left(4608), right(4608);
  // Fed a piece at a time and drained after each; the decoder gives nothing back for some calls
  // (the header frame, a frame waiting for the next one's header) while it still holds frames, so
  // only a few empty answers in a row mean it is done.
  for (size_t at = 0; at < mp3.size() && !result.failed; at += 512) {
    size_t length = std::min<size_t>(512, mp3.size() - at);
    for (int empty = 0; empty < 4;) {
      int delay = -1, padding = -1;
      const int n = hip_decode1_headersB(hip, mp3.data() + at, length, left.data(), right.data(),
                                         &info, &delay, &padding);
      length = 0;
      if (delay >= 0) result.encoderDelay = delay, result.padding = padding;
      if (n < 0) result.failed = true;
      if (n < 0) break;
      empty = n == 0 ? empty + 1 : 0;
      result.samples.insert(result.samples.end(), left.begin(), left.begin() + n);
    }
  }
  hip_decode_exit(hip);
  result.channels = info.stereo;
  result.sampleRate = info.samplerate;
  // The decoder itself lags by 529 samples, which the tag's padding already counts.
  const long start = result.encoderDelay + 529, end = result.padding - 529;
  if (result.encoderDelay >= 0 && end >= 0 && start + end <= long(result.samples.size())) {
    result.samples.erase(result.samples.end() - end, result.samples.end());
    result.samples.erase(result.samples.begin(), result.samples.begin() + start);
  } else {
    result.failed = true;
  }
  return result;
}

}  // namespace tovak::testing
