#pragma once

#include <cstdint>
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

// Finds the "fmt " and "data" chunks of a RIFF WAVE file in memory, skipping any others. Accepts
// PCM of 8 or 16 bits, one or two channels, at any rate. A file that is not a WAV file, is cut
// short or declares chunks beyond its end throws EWavStreamError; nothing outside the bytes is
// ever read.
WavInfo ReadWavInfo(const std::vector<uint8_t>& bytes);

// Reads a whole WAV file; the same checks.
WavInfo ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace tovak
