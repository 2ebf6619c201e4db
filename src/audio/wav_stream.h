#pragma once

#include <cstdint>
#include <string>

#include "common/exception.h"
#include "common/memory_stream.h"

namespace tovak {

class EWavStreamError : public Exception {
 public:
  using Exception::Exception;
};

// The sound format of a wave file, as the wave-audio interfaces describe it.
struct TWaveFormatEx {
  uint16_t wFormatTag = 1;  // 1: PCM
  uint16_t nChannels = 1;
  uint32_t nSamplesPerSec = 11025;
  uint32_t nAvgBytesPerSec = 11025;
  uint16_t nBlockAlign = 1;
  uint16_t wBitsPerSample = 8;
  uint16_t cbSize = 0;

  // Plain PCM at the given rate, channel count and sample size.
  static TWaveFormatEx Pcm(uint32_t rate, uint16_t channels, uint16_t bits);
  bool operator==(const TWaveFormatEx&) const = default;
};

inline constexpr uint16_t kWaveFormatPcm = 1;

// Sample bytes in memory that are saved as a RIFF WAVE file: a 44-byte header, then the bytes.
class TCustomWavStream : public TMemoryStream {
 public:
  // Fails with "Cannot change the format of an existing file" when bound to a file.
  void SetFormat(const TWaveFormatEx& format);
  const TWaveFormatEx& Format() const { return format_; }

  // Replaces the content with the whole content of source.
  bool LoadFromStream(TStream& source);

  // Writes the WAV file whole or not at all (an older file at path stays as it was); the
  // stream's position is unchanged. Throws EWavStreamError when the file cannot be written.
  void SaveToFile(const std::string& path);

  const std::string& BoundFileName() const { return boundFileName_; }

 protected:
  TWaveFormatEx format_;
  std::string boundFileName_;
};

class TWavStream : public TCustomWavStream {};

}  // namespace tovak
