#pragma once

#include <cstdint>
#include <functional>
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

// Chosen by measuring a synthetic voice recorded at 8 bits, 44.1 kHz (bench/mp3_speech_bench.cpp,
// distances in the 100 Hz-7 kHz speech band against the clean voice; the 8-bit recording itself
// is 2.6 dB in log-spectral distance and 24.7 dB in segmental SNR below 3.4 kHz):
//   kbps at 16 kHz   16     24     32    40    48
//   encoder lowpass  5.55k  5.85k  8k    8k    8k
//   spectral dist.   16.4   14.3   4.8   4.0   3.5 dB
//   SNR 0.3-3.4 kHz  11.9   14.4   15.8  17.3  18.6 dB
// Below 32 kbps the encoder cuts everything above about 5.8 kHz, the sibilants that make speech
// clear; at 32 kbps it keeps the whole band, and beyond that each step buys less than a dB of
// spectral distance for a quarter more bytes: the curve's knee. No setting up to 48 kbps reaches
// the 8-bit recording's own waveform SNR, as MP3 hides its noise under the voice instead. From
// 32 kbps up, 16 kHz beats 22.05 and 24 kHz (at 32 kbps: 4.8 against 5.8 and 5.6 dB), since
// their wider band holds nothing speech needs and takes bits from the band that does.
// 20 s of voice is 80 kB, so twenty voices stay near 1.6 MB. Quality 5, the encoder's standard,
// encodes 20 s in well under 0.1 s; slower settings change the distance by a few tenths of a dB.
inline constexpr Mp3Settings kSpeechMp3{32, 16000, 5};

// Encodes a voice comment (a PCM WAV file in memory: 8 or 16 bits, mono or stereo, any rate) as
// a mono MP3 tuned for speech, with the header browsers read its exact length from. An empty
// data chunk gives no bytes. Throws EMp3Error, also once stopped says yes (asked every few
// seconds of sound).
std::vector<uint8_t> EncodeSpeechMp3(const std::vector<uint8_t>& wav,
                                     const std::function<bool()>& stopped = nullptr);

// The same with other settings, for measuring.
std::vector<uint8_t> EncodeMp3(const std::vector<uint8_t>& wav, const Mp3Settings& settings,
                               const std::function<bool()>& stopped = nullptr);

}  // namespace tovak
