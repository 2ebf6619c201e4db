#include "audio/wav_reader.h"

#include <cstring>

#include "common/byte_order.h"
#include "common/memory_stream.h"

namespace tovak {

namespace {

bool IsId(const uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

}  // namespace

WavInfo ReadWavInfo(const std::vector<uint8_t>& bytes) {
  // Positions are 64-bit: a chunk length near 4 GiB added to a 32-bit position would wrap back
  // to an earlier chunk and loop for ever.
  const uint64_t size = bytes.size();
  if (size < 12 || !IsId(bytes.data(), "RIFF") || !IsId(bytes.data() + 8, "WAVE")) {
    throw EWavStreamError("This is not a WAV file");
  }
  WavInfo info;
  bool haveFormat = false;
  uint64_t pos = 12;
  while (pos + 8 <= size) {
    const uint8_t* chunk = bytes.data() + pos;
    const uint64_t length = GetLe32(chunk + 4);
    const uint64_t body = pos + 8;
    if (IsId(chunk, "fmt ")) {
      if (length < 16 || body + 16 > size)
        throw EWavStreamError("The WAV file's format is damaged");
      const uint8_t* f = bytes.data() + body;
      info.format.wFormatTag = GetLe16(f);
      info.format.nChannels = GetLe16(f + 2);
      info.format.nSamplesPerSec = GetLe32(f + 4);
      info.format.nAvgBytesPerSec = GetLe32(f + 8);
      info.format.nBlockAlign = GetLe16(f + 12);
      info.format.wBitsPerSample = GetLe16(f + 14);
      info.format.cbSize = 0;
      haveFormat = true;
    } else if (IsId(chunk, "data")) {
      if (!haveFormat) throw EWavStreamError("The WAV file has no format before its sound");
      // A recorder stopped short may leave a data size larger than what follows: the truncated
      // file is refused rather than played as far as it goes.
      if (body + length > size) throw EWavStreamError("The WAV file is cut short");
      info.dataOffset = static_cast<size_t>(body);
      info.dataSize = static_cast<size_t>(length);
      const TWaveFormatEx& f = info.format;
      const bool pcm = f.wFormatTag == kWaveFormatPcm;
      const bool bits = f.wBitsPerSample == 8 || f.wBitsPerSample == 16;
      const bool channels = f.nChannels == 1 || f.nChannels == 2;
      if (!pcm || !bits || !channels || f.nSamplesPerSec < 1000 || f.nSamplesPerSec > 192000) {
        throw EWavStreamError(
            "This kind of WAV file cannot be played (" + std::to_string(f.nChannels) +
            " channels, " + std::to_string(f.wBitsPerSample) + " bits, " +
            std::to_string(f.nSamplesPerSec) + " Hz, format " + std::to_string(f.wFormatTag) + ")");
      }
      // Derived fields are recomputed so that a forged header cannot mislead a player.
      info.format.nBlockAlign = static_cast<uint16_t>(f.nChannels * f.wBitsPerSample / 8);
      info.format.nAvgBytesPerSec = f.nSamplesPerSec * info.format.nBlockAlign;
      info.dataSize -= info.dataSize % info.format.nBlockAlign;
      return info;
    }
    pos = body + length + (length & 1);
  }
  throw EWavStreamError(haveFormat ? "The WAV file has no sound" : "The WAV file is cut short");
}

WavInfo ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes) {
  TMemoryStream file;
  if (!file.LoadFromFile(path)) throw EWavStreamError("Cannot open file \"" + path + "\"");
  bytes = std::move(file.Bytes());
  return ReadWavInfo(bytes);
}

}  // namespace tovak
