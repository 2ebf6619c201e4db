// WAV files as the player and the builder read them.

#include <cstdint>
#include <vector>

#include "audio/wav_reader.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  tovak::WavInfo info;
  try {
    info = tovak::ReadWavInfo(bytes);
  } catch (const tovak::EWavStreamError&) {
    return 0;
  }
  if (info.dataOffset > size || info.dataSize > size - info.dataOffset) {
    tovak::fuzz::Fail("WAV: the sound lies outside the file");
  }
  const tovak::TWaveFormatEx& f = info.format;
  if (f.wFormatTag != tovak::kWaveFormatPcm || (f.nChannels != 1 && f.nChannels != 2) ||
      (f.wBitsPerSample != 8 && f.wBitsPerSample != 16)) {
    tovak::fuzz::Fail("WAV: accepted a format it does not play");
  }
  if (!(info.Seconds() >= 0)) tovak::fuzz::Fail("WAV: no length");
  return 0;
}
