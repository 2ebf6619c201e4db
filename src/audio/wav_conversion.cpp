#include "audio/wav_conversion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/byte_order.h"
#include "common/file_stream.h"

namespace tovak {

namespace {

constexpr uint32_t kSpeakerLowFrequency = 0x8;
// A voice record's container states its size in a signed 32-bit field.
constexpr uint64_t kLargestContainer = std::numeric_limits<int32_t>::max();
constexpr size_t kPieceBytes = 1 << 18;

bool ReadAt(TFileStream& file, uint64_t offset, uint8_t* buffer, size_t count) {
  return file.Seek(static_cast<int64_t>(offset), TStream::soFromBeginning) ==
             static_cast<int64_t>(offset) &&
         file.ReadExact(buffer, static_cast<int64_t>(count));
}

bool Decodable(uint16_t sampleFormat, uint16_t bits) {
  switch (sampleFormat) {
    case kWaveFormatPcm:
      return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kWaveFormatIeeeFloat:
      return bits == 32 || bits == 64;
    case kWaveFormatALaw:
    case kWaveFormatMuLaw:
      return bits == 8;
    default:
      return false;
  }
}

std::string Refusal(const WavLayout& layout) {
  const TWaveFormatEx& f = layout.format;
  if (!Decodable(layout.sampleFormat, f.wBitsPerSample)) {
    const bool known =
        layout.sampleFormat == kWaveFormatPcm || layout.sampleFormat == kWaveFormatIeeeFloat ||
        layout.sampleFormat == kWaveFormatALaw || layout.sampleFormat == kWaveFormatMuLaw;
    if (known) return "its samples of " + std::to_string(f.wBitsPerSample) + " bits cannot be read";
    return "its sound is compressed in a way that cannot be read (WAV format " +
           std::to_string(layout.sampleFormat ? layout.sampleFormat : f.wFormatTag) +
           "); save it as PCM";
  }
  if (f.nChannels < 1 || f.nChannels > 64)
    return "it has " + std::to_string(f.nChannels) + " channels";
  if (f.nSamplesPerSec < 1000 || f.nSamplesPerSec > 192000)
    return "its rate of " + std::to_string(f.nSamplesPerSec) + " Hz is one no player plays";
  return {};
}

int16_t ALaw(uint8_t code) {
  code ^= 0x55;
  const int exponent = (code >> 4) & 7;
  int magnitude = ((code & 0x0F) << 4) + 8;
  if (exponent > 0) magnitude = (magnitude + 0x100) << (exponent - 1);
  return static_cast<int16_t>(code & 0x80 ? magnitude : -magnitude);
}

int16_t MuLaw(uint8_t code) {
  code = static_cast<uint8_t>(~code);
  const int exponent = (code >> 4) & 7;
  const int magnitude = ((((code & 0x0F) << 3) + 0x84) << exponent) - 0x84;
  return static_cast<int16_t>(code & 0x80 ? -magnitude : magnitude);
}

// One sample as a fraction of full scale.
double Sample(const uint8_t* p, uint16_t sampleFormat, uint16_t bits) {
  switch (sampleFormat) {
    case kWaveFormatIeeeFloat: {
      if (bits == 32) {
        const uint32_t raw = GetLe32(p);
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
      }
      const uint64_t raw = GetLe32(p) | uint64_t{GetLe32(p + 4)} << 32;
      double value;
      std::memcpy(&value, &raw, sizeof value);
      return value;
    }
    case kWaveFormatALaw:
      return ALaw(*p) / 32768.0;
    case kWaveFormatMuLaw:
      return MuLaw(*p) / 32768.0;
    default:
      break;
  }
  switch (bits) {
    case 8:
      return (p[0] - 128) / 128.0;
    case 16:
      return static_cast<int16_t>(GetLe16(p)) / 32768.0;
    case 24:
      return static_cast<int32_t>(uint32_t{p[0]} << 8 | uint32_t{p[1]} << 16 |
                                  uint32_t{p[2]} << 24) /
             2147483648.0;
    default:
      return static_cast<int32_t>(GetLe32(p)) / 2147483648.0;
  }
}

int16_t To16(double value) {
  // Rounded, not dithered: a voice comment's own noise floor lies far above 16 bits' step.
  if (!(value == value)) return 0;  // NaN
  const double scaled = std::round(value * 32768.0);
  return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

}  // namespace

VoiceFormatPlan PlanVoiceFormat(const std::string& path) {
  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Read))
    throw EWavStreamError("Cannot open file \"" + path + "\"");
  const int64_t size = file.Size();
  VoiceFormatPlan plan;
  plan.playedBytes = size > 0 ? static_cast<uint64_t>(size) : 0;
  uint8_t head[12];
  // What is no RIFF WAVE file at all is the user's business, stored as it always was.
  if (size < 12 || !ReadAt(file, 0, head, 12) || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0)
    return plan;
  try {
    plan.layout = ReadWavLayout(static_cast<uint64_t>(size),
                                [&file](uint64_t offset, uint8_t* buffer, size_t count) {
                                  return ReadAt(file, offset, buffer, count);
                                });
  } catch (const EWavStreamError& e) {
    plan.kind = VoiceFormatPlan::Kind::Refuse;
    plan.reason = e.Message();
    return plan;
  }
  const TWaveFormatEx& f = plan.layout.format;
  if (IsPlayableWavFormat(f)) {
    const uint32_t perSecond = f.nSamplesPerSec * f.nChannels * (f.wBitsPerSample / 8);
    plan.seconds = double(plan.layout.dataSize) / perSecond;
    return plan;
  }
  if (std::string reason = Refusal(plan.layout); !reason.empty()) {
    plan.kind = VoiceFormatPlan::Kind::Refuse;
    plan.reason = std::move(reason);
    return plan;
  }
  const uint64_t frames = plan.layout.dataSize / (f.nChannels * (f.wBitsPerSample / 8));
  const uint16_t channels = f.nChannels <= 2 ? f.nChannels : 1;
  plan.kind = VoiceFormatPlan::Kind::Convert;
  plan.target = TWaveFormatEx::Pcm(f.nSamplesPerSec, channels, 16);
  plan.playedBytes = 44 + frames * plan.target.nBlockAlign;
  plan.seconds = double(frames) / f.nSamplesPerSec;
  if (plan.playedBytes > kLargestContainer) {
    plan.kind = VoiceFormatPlan::Kind::Refuse;
    plan.reason = "it is too long to be stored";
  }
  return plan;
}

std::vector<uint8_t> ConvertVoiceFile(const std::string& path, const VoiceFormatPlan& plan,
                                      const std::function<void()>& checkpoint) {
  const WavLayout& layout = plan.layout;
  const TWaveFormatEx& from = layout.format;
  const TWaveFormatEx& to = plan.target;
  const size_t sampleBytes = from.wBitsPerSample / 8u;
  const size_t frameBytes = from.nChannels * sampleBytes;
  const uint64_t frames = layout.dataSize / frameBytes;
  const uint64_t dataBytes = frames * to.nBlockAlign;

  std::vector<uint8_t> out(44);
  out.reserve(static_cast<size_t>(44 + dataBytes));
  std::memcpy(out.data(), "RIFF", 4);
  PutLe32(out.data() + 4, static_cast<uint32_t>(36 + dataBytes));
  std::memcpy(out.data() + 8, "WAVEfmt ", 8);
  PutLe32(out.data() + 16, 16);
  PutLe16(out.data() + 20, to.wFormatTag);
  PutLe16(out.data() + 22, to.nChannels);
  PutLe32(out.data() + 24, to.nSamplesPerSec);
  PutLe32(out.data() + 28, to.nAvgBytesPerSec);
  PutLe16(out.data() + 32, to.nBlockAlign);
  PutLe16(out.data() + 34, to.wBitsPerSample);
  std::memcpy(out.data() + 36, "data", 4);
  PutLe32(out.data() + 40, static_cast<uint32_t>(dataBytes));

  // Mixed to one channel, the bass channel a surround layout names is left out: it carries
  // nothing of a voice and would only muddy it.
  int lowFrequency = -1;
  if (to.nChannels != from.nChannels && (layout.channelMask & kSpeakerLowFrequency)) {
    lowFrequency = std::popcount(layout.channelMask & (kSpeakerLowFrequency - 1));
    if (lowFrequency >= from.nChannels) lowFrequency = -1;
  }
  const int mixed = from.nChannels - (lowFrequency >= 0 ? 1 : 0);

  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Read) ||
      file.Seek(static_cast<int64_t>(layout.dataOffset), TStream::soFromBeginning) < 0)
    throw EWavStreamError("Cannot open file \"" + path + "\"");
  const size_t framesPerPiece = std::max<size_t>(1, kPieceBytes / frameBytes);
  std::vector<uint8_t> piece(framesPerPiece * frameBytes);
  for (uint64_t done = 0; done < frames;) {
    if (checkpoint) checkpoint();
    const size_t n = static_cast<size_t>(std::min<uint64_t>(framesPerPiece, frames - done));
    if (!file.ReadExact(piece.data(), static_cast<int64_t>(n * frameBytes)))
      throw EWavStreamError("The WAV file is cut short");
    for (size_t i = 0; i < n; ++i) {
      const uint8_t* frame = piece.data() + i * frameBytes;
      uint8_t sample[2];
      if (to.nChannels == from.nChannels) {
        for (int c = 0; c < from.nChannels; ++c) {
          PutLe16(sample, static_cast<uint16_t>(To16(Sample(
                              frame + c * sampleBytes, layout.sampleFormat, from.wBitsPerSample))));
          out.insert(out.end(), sample, sample + 2);
        }
      } else {
        double sum = 0;
        for (int c = 0; c < from.nChannels; ++c) {
          if (c != lowFrequency)
            sum += Sample(frame + c * sampleBytes, layout.sampleFormat, from.wBitsPerSample);
        }
        PutLe16(sample, static_cast<uint16_t>(To16(sum / mixed)));
        out.insert(out.end(), sample, sample + 2);
      }
    }
    done += n;
  }
  return out;
}

}  // namespace tovak
