#include "audio/wav_stream.h"

#include <algorithm>

#include "common/atomic_file.h"
#include "common/byte_order.h"
#include "common/file_stream.h"

namespace tovak {

TWaveFormatEx TWaveFormatEx::Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  TWaveFormatEx f;
  f.wFormatTag = kWaveFormatPcm;
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
  const uint32_t dataSize = static_cast<uint32_t>(Size());
  uint8_t header[44];
  std::copy_n("RIFF", 4, header);
  PutLe32(header + 4, 0);  // the real size is written last
  std::copy_n("WAVEfmt ", 8, header + 8);
  PutLe32(header + 16, 16);
  PutLe16(header + 20, format_.wFormatTag);
  PutLe16(header + 22, format_.nChannels);
  PutLe32(header + 24, format_.nSamplesPerSec);
  PutLe32(header + 28, format_.nAvgBytesPerSec);
  PutLe16(header + 32, format_.nBlockAlign);
  PutLe16(header + 34, format_.wBitsPerSample);
  std::copy_n("data", 4, header + 36);
  PutLe32(header + 40, dataSize);

  // A recording is the user's voice: a failed save must neither leave half a file nor spoil an
  // older one of the same name.
  std::string error;
  const bool ok = WriteFileAtomically(
      path,
      [&](TFileStream& file) {
        uint8_t riffSize[4];
        PutLe32(riffSize, static_cast<uint32_t>(sizeof header + dataSize - 8));
        return file.WriteAll(header, sizeof header) &&
               (Bytes().empty() || file.WriteAll(Bytes().data(), Size())) &&
               file.Seek(4, soFromBeginning) == 4 && file.WriteAll(riffSize, 4);
      },
      &error);
  if (!ok) throw EWavStreamError("Error writing file \"" + path + "\": " + error);
}

}  // namespace tovak
