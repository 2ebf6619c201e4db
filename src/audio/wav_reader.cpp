#include "audio/wav_reader.h"

#include <cstring>

#include "common/byte_order.h"
#include "common/memory_stream.h"

namespace tovak {

namespace {

bool IsId(const uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

// The tail that every standard sub-format of an extensible file shares after its 16-bit code.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::string Describe(const TWaveFormatEx& f) {
  return std::to_string(f.nChannels) + " channels, " + std::to_string(f.wBitsPerSample) +
         " bits, " + std::to_string(f.nSamplesPerSec) + " Hz, format " +
         std::to_string(f.wFormatTag);
}

}  // namespace

WavLayout ReadWavLayout(uint64_t size, const WavBytesAt& bytesAt) {
  // Positions are 64-bit: a chunk length near 4 GiB added to a 32-bit position would wrap back
  // to an earlier chunk and loop for ever.
  uint8_t head[12];
  if (size < 12 || !bytesAt(0, head, 12) || !IsId(head, "RIFF") || !IsId(head + 8, "WAVE")) {
    throw EWavStreamError("This is not a WAV file");
  }
  WavLayout layout;
  bool haveFormat = false;
  uint64_t pos = 12;
  while (pos + 8 <= size) {
    uint8_t chunk[8];
    if (!bytesAt(pos, chunk, 8)) throw EWavStreamError("The WAV file is cut short");
    const uint64_t length = GetLe32(chunk + 4);
    const uint64_t body = pos + 8;
    if (IsId(chunk, "fmt ")) {
      uint8_t f[40] = {};
      if (length < 16 || body + 16 > size || !bytesAt(body, f, 16))
        throw EWavStreamError("The WAV file's format is damaged");
      TWaveFormatEx& format = layout.format;
      format.wFormatTag = GetLe16(f);
      format.nChannels = GetLe16(f + 2);
      format.nSamplesPerSec = GetLe32(f + 4);
      format.nAvgBytesPerSec = GetLe32(f + 8);
      format.nBlockAlign = GetLe16(f + 12);
      format.wBitsPerSample = GetLe16(f + 14);
      format.cbSize = 0;
      layout.sampleFormat = format.wFormatTag;
      if (format.wFormatTag == kWaveFormatExtensible) {
        if (length < 40 || body + 40 > size || !bytesAt(body + 16, f + 16, 24))
          throw EWavStreamError("The WAV file's format is damaged");
        layout.channelMask = GetLe32(f + 20);
        const bool standard = std::memcmp(f + 26, kSubFormatTail, sizeof kSubFormatTail) == 0;
        layout.sampleFormat = standard ? GetLe16(f + 24) : 0;
      }
      haveFormat = true;
    } else if (IsId(chunk, "data")) {
      if (!haveFormat) throw EWavStreamError("The WAV file has no format before its sound");
      // A recorder stopped short may leave a data size larger than what follows: the truncated
      // file is refused rather than played as far as it goes.
      if (body + length > size) throw EWavStreamError("The WAV file is cut short");
      layout.dataOffset = body;
      layout.dataSize = length;
      return layout;
    }
    pos = body + length + (length & 1);
  }
  throw EWavStreamError(haveFormat ? "The WAV file has no sound" : "The WAV file is cut short");
}

bool IsPlayableWavFormat(const TWaveFormatEx& f) {
  const bool pcm = f.wFormatTag == kWaveFormatPcm;
  const bool bits = f.wBitsPerSample == 8 || f.wBitsPerSample == 16;
  const bool channels = f.nChannels == 1 || f.nChannels == 2;
  return pcm && bits && channels && f.nSamplesPerSec >= 1000 && f.nSamplesPerSec <= 192000;
}

WavInfo ReadWavInfo(const std::vector<uint8_t>& bytes) {
  const WavLayout layout =
      ReadWavLayout(bytes.size(), [&bytes](uint64_t offset, uint8_t* buffer, size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset) return false;
        std::memcpy(buffer, bytes.data() + offset, count);
        return true;
      });
  if (!IsPlayableWavFormat(layout.format)) {
    throw EWavStreamError("This kind of WAV file cannot be played (" + Describe(layout.format) +
                          ")");
  }
  WavInfo info;
  info.format = layout.format;
  info.dataOffset = static_cast<size_t>(layout.dataOffset);
  info.dataSize = static_cast<size_t>(layout.dataSize);
  // Derived fields are recomputed so that a forged header cannot mislead a player.
  const TWaveFormatEx& f = info.format;
  info.format.nBlockAlign = static_cast<uint16_t>(f.nChannels * f.wBitsPerSample / 8);
  info.format.nAvgBytesPerSec = f.nSamplesPerSec * info.format.nBlockAlign;
  info.dataSize -= info.dataSize % info.format.nBlockAlign;
  return info;
}

WavInfo ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes) {
  TMemoryStream file;
  if (!file.LoadFromFile(path)) throw EWavStreamError("Cannot open file \"" + path + "\"");
  bytes = std::move(file.Bytes());
  return ReadWavInfo(bytes);
}

}  // namespace tovak
