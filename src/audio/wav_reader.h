#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/wav_stream.h"

namespace tovak {

// Where the sound of a RIFF WAVE file is: its format and its sample bytes.
struct WavInfo {
  TWaveFormatEx format;
  size_t dataOffset = 0;
  size_t dataSize = 0;

  double Seconds() const {
    return format.nAvgBytesPerSec ? double(dataSize) / format.nAvgBytesPerSec : 0;
  }
};

inline constexpr uint16_t kWaveFormatAdpcm = 2;
inline constexpr uint16_t kWaveFormatIeeeFloat = 3;
inline constexpr uint16_t kWaveFormatALaw = 6;
inline constexpr uint16_t kWaveFormatMuLaw = 7;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// What any RIFF WAVE file says of its sound, whether a player plays it or not.
struct WavLayout {
  // As the "fmt " chunk states it; nothing is recomputed.
  TWaveFormatEx format;
  // The kind of samples: wFormatTag, or for an extensible file the code its sub-format names
  // (0 when that is none of the standard ones).
  uint16_t sampleFormat = 0;
  // For an extensible file, which speakers the channels feed (0: not said).
  uint32_t channelMask = 0;
  uint64_t dataOffset = 0;
  uint64_t dataSize = 0;
};

// Reads count bytes at offset of a file of size bytes into buffer; false when it cannot.
using WavBytesAt = std::function<bool(uint64_t offset, uint8_t* buffer, size_t count)>;

// Finds the "fmt " and "data" chunks of a RIFF WAVE file of size bytes, skipping any others and
// reading only chunk headers and the format. A file that is not a WAV file, is cut short or
// declares chunks beyond its end throws EWavStreamError.
WavLayout ReadWavLayout(uint64_t size, const WavBytesAt& bytesAt);

// Whether the players play sound of this format: PCM of 8 or 16 bits, one or two channels, at
// 1000 to 192000 Hz.
bool IsPlayableWavFormat(const TWaveFormatEx& format);

// The same walk over a file in memory, accepting only what the players play (see
// IsPlayableWavFormat). Nothing outside the bytes is ever read.
WavInfo ReadWavInfo(const std::vector<uint8_t>& bytes);

// Reads a whole WAV file; the same checks.
WavInfo ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace tovak
