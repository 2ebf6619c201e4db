#include "audio/wav_stream.h"

#include <algorithm>

#include "common/file_stream.h"

namespace tovak {

namespace {

void Put16(uint8_t* out, uint16_t v) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace

TWaveFormatEx TWaveFormatEx::Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  TWaveFormatEx f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  f.wBitsPerSample = bits;
  f.cbSize = 0;
  return f;
}

void TCustomWavStream::SetFormat(const TWaveFormatEx& format) {
  if (!boundFileName_.empty()) {
    throw EWavStreamError("Cannot change the format of an existing file");
  }
  format_ = format;
}

bool TCustomWavStream::LoadFromStream(TStream& source) {
  Clear();
  if (source.Seek(0, soFromBeginning) < 0) return false;
  const bool ok = CopyStream(source, *this) >= 0;
  Seek(0, soFromBeginning);
  return ok;
}

void TCustomWavStream::SaveToFile(const std::string& path) {
  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Create)) {
    throw EWavStreamError("Cannot create file \"" + path + "\"");
  }
  const int64_t remembered = Position();
  const uint32_t dataSize = static_cast<uint32_t>(Size());
  uint8_t header[44];
  std::copy_n("RIFF", 4, header);
  Put32(header + 4, 0);  // the real size is written last
  std::copy_n("WAVEfmt ", 8, header + 8);
  Put32(header + 16, 16);
  Put16(header + 20, format_.wFormatTag);
  Put16(header + 22, format_.nChannels);
  Put32(header + 24, format_.nSamplesPerSec);
  Put32(header + 28, format_.nAvgBytesPerSec);
  Put16(header + 32, format_.nBlockAlign);
  Put16(header + 34, format_.wBitsPerSample);
  std::copy_n("data", 4, header + 36);
  Put32(header + 40, dataSize);

  bool ok = file.WriteAll(header, sizeof header);
  ok = ok && (Bytes().empty() || file.WriteAll(Bytes().data(), Size()));
  uint8_t riffSize[4];
  Put32(riffSize, static_cast<uint32_t>(sizeof header + dataSize - 8));
  ok = ok && file.Seek(4, soFromBeginning) == 4 && file.WriteAll(riffSize, 4);
  ok = file.Close() && ok;
  Seek(remembered, soFromBeginning);
  if (!ok) throw EWavStreamError("Error writing file \"" + path + "\"");
}

}  // namespace tovak
