#include <gtest/gtest.h>
#include <filesystem>

#include "audio/wav_reader.h"
#include "audio/wav_stream.h"
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
