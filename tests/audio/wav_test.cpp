#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "audio/wav_conversion.h"
#include "audio/wav_reader.h"
#include "audio/wav_stream.h"
#include "support/any_wav.h"
#include "support/full_disk.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

TEST(WavStream, WritesTheFortyFourByteHeader) {
  testing::TempDir dir;
  TWavStream empty;
  empty.SetFormat(TWaveFormatEx::Pcm(22050, 1, 8));
  empty.SaveToFile(dir.File("empty.wav"));
  Bytes file = testing::ReadBytes(dir.File("empty.wav"));
  ASSERT_EQ(file.size(), 44u);
  EXPECT_EQ(Get32(file, 4), 36u);
  EXPECT_EQ(Get32(file, 40), 0u);

  TWavStream wav;
  wav.SetFormat(TWaveFormatEx::Pcm(44100, 2, 8));
  const Bytes samples(1001, 0x80);
  wav.Write(samples.data(), 1001);
  wav.Seek(17, TStream::soFromBeginning);
  wav.SaveToFile(dir.File("odd.wav"));
  EXPECT_EQ(wav.Position(), 17);
  file = testing::ReadBytes(dir.File("odd.wav"));
  ASSERT_EQ(file.size(), 1045u);  // no pad byte after odd data
  EXPECT_EQ(Get32(file, 4), 1037u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 16),
            std::string("RIFF\x0D\x04\0\0WAVEfmt ", 16));
  const Bytes fmt(file.begin() + 16, file.begin() + 36);
  EXPECT_EQ(fmt, (Bytes{16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 8, 0}));
  EXPECT_EQ(Get32(file, 40), 1001u);

  const WavInfo info = ReadWavInfo(file);
  EXPECT_EQ(info.format, TWaveFormatEx::Pcm(44100, 2, 8));
  EXPECT_EQ(info.dataOffset, 44u);
  EXPECT_EQ(info.dataSize, 1000u);  // whole stereo frames only

  EXPECT_THROW(wav.SaveToFile(dir.File("no/such/folder/x.wav")), EWavStreamError);
}

TEST(WavReader, FindsChunksAndRefusesDamage) {
  // A file with an extra chunk before "fmt " and an odd-sized one between.
  Bytes file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  auto chunk = [&](const char* id, const Bytes& body) {
    file.insert(file.end(), id, id + 4);
    const uint32_t n = static_cast<uint32_t>(body.size());
    file.insert(file.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)});
    file.insert(file.end(), body.begin(), body.end());
    if (n & 1) file.push_back(0);
  };
  chunk("LIST", {1, 2, 3});
  chunk("fmt ", {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0});
  chunk("data", Bytes(400, 0));
  const WavInfo info = ReadWavInfo(file);
  EXPECT_EQ(info.format.nSamplesPerSec, 8000u);
  EXPECT_EQ(info.format.wBitsPerSample, 16);
  EXPECT_EQ(info.dataSize, 400u);
  EXPECT_DOUBLE_EQ(info.Seconds(), 0.025);

  for (size_t cut = 0; cut < file.size(); cut += 5) {
    EXPECT_THROW(ReadWavInfo(Bytes(file.begin(), file.begin() + cut)), EWavStreamError) << cut;
  }
  Bytes forged = file;
  forged[file.size() - 404 + 1] = 0xFF;  // data size far beyond the file
  EXPECT_THROW(ReadWavInfo(forged), EWavStreamError);
  Bytes adpcm = file;
  adpcm[12 + 8 + 4 + 8] = 2;  // not PCM
  EXPECT_THROW(ReadWavInfo(adpcm), EWavStreamError);
  EXPECT_THROW(ReadWavInfo(Bytes{'J', 'F', 'I', 'F'}), EWavStreamError);
  // A chunk length that points back to the chunk itself once added to a 32-bit position.
  Bytes junk(file.begin(), file.begin() + 12);
  junk.insert(junk.end(), {'J', 'U', 'N', 'K', 0xF8, 0xFF, 0xFF, 0xFF});
  junk.insert(junk.end(), file.begin() + 12, file.end());
  EXPECT_THROW(ReadWavInfo(junk), EWavStreamError);
}

Bytes Floats(const std::vector<float>& values) {
  Bytes bytes(values.size() * 4);
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

std::vector<int16_t> Samples(const Bytes& wav) {
  const WavInfo info = ReadWavInfo(wav);  // what every player reads
  EXPECT_EQ(info.format.wBitsPerSample, 16);
  std::vector<int16_t> samples(info.dataSize / 2);
  std::memcpy(samples.data(), wav.data() + info.dataOffset, info.dataSize);
  return samples;
}

// What recorders and phones write becomes 16-bit PCM at its own rate that the players read;
// what the players already play is left alone; what cannot be read is refused with a reason.
TEST(WavConversion, MakesEveryReadableVoicePlayable) {
  testing::TempDir dir;
  struct Case {
    const char* name;
    Bytes wav;
    uint16_t channels;
    uint32_t rate;
    std::vector<int16_t> samples;
  };
  const float nan = std::nanf("");
  const std::vector<Case> cases = {
      {"24-bit stereo",
       testing::AnyWav(1, 2, 96000, 24, {0x56, 0x34, 0x12, 0x00, 0x00, 0x80}),
       2,
       96000,
       {0x1234, -32768}},
      {"float mono",
       testing::AnyWav(3, 1, 44100, 32, Floats({0.5f, 2.0f, -1.0f, nan})),
       1,
       44100,
       {16384, 32767, -32768, 0}},
      // Four channels are mixed to one, without the bass channel.
      {"extensible 4 channels",
       testing::AnyWav(1, 4, 48000, 16, {0xE8, 0x03, 0xD0, 0x07, 0xB8, 0x0B, 0x30, 0x75}, 0xF),
       1,
       48000,
       {2000}},
      {"extensible 16-bit stereo",
       testing::AnyWav(1, 2, 22050, 16, {1, 0, 0xFF, 0xFF}, 3),
       2,
       22050,
       {1, -1}},
      {"32-bit integer",
       testing::AnyWav(1, 1, 8000, 32, {0x00, 0x80, 0xFF, 0x7F}),
       1,
       8000,
       {32767}},
      {"mu-law", testing::AnyWav(7, 1, 8000, 8, {0xFF, 0x00}), 1, 8000, {0, -32124}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("voice.wav");
    testing::WriteBytes(path, c.wav);
    EXPECT_THROW(ReadWavInfo(c.wav), EWavStreamError);
    const VoiceFormatPlan plan = PlanVoiceFormat(path);
    ASSERT_EQ(plan.kind, VoiceFormatPlan::Kind::Convert) << plan.reason;
    EXPECT_EQ(plan.target, TWaveFormatEx::Pcm(c.rate, c.channels, 16));
    const Bytes converted = ConvertVoiceFile(path, plan);
    EXPECT_EQ(converted.size(), plan.playedBytes);
    EXPECT_EQ(Samples(converted), c.samples);
  }

  const auto plan = [&](const Bytes& bytes) {
    testing::WriteBytes(dir.File("voice.wav"), bytes);
    return PlanVoiceFormat(dir.File("voice.wav"));
  };
  EXPECT_EQ(plan(testing::AnyWav(1, 2, 48000, 16, Bytes(400, 7))).kind,
            VoiceFormatPlan::Kind::AsItIs);
  EXPECT_EQ(plan(testing::AnyWav(1, 1, 11025, 8, Bytes(400, 7))).kind,
            VoiceFormatPlan::Kind::AsItIs);
  EXPECT_EQ(plan(Bytes(400, 128)).kind, VoiceFormatPlan::Kind::AsItIs);  // no WAV file at all
  VoiceFormatPlan refused = plan(testing::AnyWav(2, 1, 8000, 4, Bytes(256, 0)));
  EXPECT_EQ(refused.kind, VoiceFormatPlan::Kind::Refuse);
  EXPECT_NE(refused.reason.find("compressed"), std::string::npos) << refused.reason;
  refused = plan(testing::AnyWav(1, 1, 500, 24, Bytes(30, 0)));
  EXPECT_EQ(refused.kind, VoiceFormatPlan::Kind::Refuse);
  EXPECT_NE(refused.reason.find("500 Hz"), std::string::npos) << refused.reason;
  Bytes cut = testing::AnyWav(1, 2, 48000, 24, Bytes(600, 0));
  cut.resize(cut.size() - 100);
  EXPECT_EQ(plan(cut).kind, VoiceFormatPlan::Kind::Refuse);
}

TEST(WavStream, AFileBoundStreamKeepsItsFormat) {
  class Bound : public TCustomWavStream {
   public:
    Bound() { boundFileName_ = "existing.wav"; }
  } bound;
  try {
    bound.SetFormat(TWaveFormatEx::Pcm(44100, 2, 8));
    FAIL();
  } catch (const EWavStreamError& e) {
    EXPECT_EQ(e.Message(), "Cannot change the format of an existing file");
  }
  EXPECT_EQ(bound.Format(), TWaveFormatEx());
}

// A disk that fills up halfway through a save: the earlier take under that name survives whole
// and nothing half-written is left beside it.
TEST(WavStream, AFailedSaveKeepsTheOlderFile) {
  testing::TempDir dir;
  const std::string path = dir.File("take.wav");
  const Bytes older(300, 0x11);
  testing::WriteBytes(path, older);
  TWavStream wav;
  wav.SetFormat(TWaveFormatEx::Pcm(22050, 1, 8));
  const Bytes samples(5000, 0x80);
  wav.Write(samples.data(), 5000);

  {
    testing::FullDisk full(2000);
    EXPECT_THROW(wav.SaveToFile(path), EWavStreamError);
  }

  EXPECT_EQ(testing::ReadBytes(path), older);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace tovak
