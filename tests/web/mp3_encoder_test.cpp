#include "web/mp3_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "audio/wav_stream.h"
#include "support/sample_data.h"
#include "web/mp3_decode.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v, int size) {
  for (int i = 0; i < size; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

Bytes Wav(const TWaveFormatEx& f, const Bytes& data) {
  Bytes b = {'R', 'I', 'F', 'F'};
  Put(b, uint32_t(36 + data.size()), 4);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put(b, 16, 4);
  Put(b, f.wFormatTag, 2), Put(b, f.nChannels, 2), Put(b, f.nSamplesPerSec, 4);
  Put(b, f.nAvgBytesPerSec, 4), Put(b, f.nBlockAlign, 2), Put(b, f.wBitsPerSample, 2);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put(b, uint32_t(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// 8-bit stereo as the editor records it; the right channel is the left one mirrored around 128
// when `opposite`, so only a true average of the channels is silent.
Bytes EightBitStereo(double seconds, bool opposite) {
  const Bytes voice = sample::VoiceAudio(size_t(seconds * 44100));
  Bytes data;
  for (uint8_t s : voice) data.insert(data.end(), {s, opposite ? uint8_t(256 - s) : s});
  return Wav(TWaveFormatEx::Pcm(44100, 2, 8), data);
}

Bytes SixteenBitMonoTone(double seconds, uint32_t rate) {
  Bytes data;
  for (size_t i = 0; i < size_t(seconds * rate); ++i) {
    Put(data, uint16_t(int16_t(10000 * std::sin(2 * M_PI * 440 * double(i) / rate))), 2);
  }
  return Wav(TWaveFormatEx::Pcm(rate, 1, 16), data);
}

double Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
  return peak;
}

// Plays back to the voice's length, mono, at the size its bit rate implies.
testing::DecodedMp3 ExpectPlaysFor(const Bytes& mp3, double seconds, bool silent = false) {
  const testing::DecodedMp3 decoded = testing::DecodeMp3(mp3);
  EXPECT_FALSE(decoded.failed);
  const std::string head(mp3.begin(), mp3.begin() + std::min<size_t>(mp3.size(), 64));
  EXPECT_NE(head.find("Xing"), std::string::npos);  // the length header
  EXPECT_EQ(decoded.channels, 1);
  EXPECT_EQ(decoded.sampleRate, kSpeechMp3.sampleRate);
  EXPECT_NEAR(decoded.Seconds(), seconds, 0.02);
  const double expectedSize = seconds * kSpeechMp3.kbps * 125;
  EXPECT_GT(double(mp3.size()), (silent ? 0 : 0.8) * expectedSize);
  EXPECT_LT(double(mp3.size()), 1.2 * expectedSize + 1000);
  return decoded;
}

TEST(Mp3Encoder, EncodesEditorRecordingsAndSixteenBitMono) {
  const double peak = Peak(ExpectPlaysFor(EncodeSpeechMp3(EightBitStereo(5, false)), 5).samples);
  EXPECT_GT(peak, 3000);
  // 8-bit samples are unsigned around 128 and the channels are averaged, not one of them kept.
  EXPECT_LT(Peak(ExpectPlaysFor(EncodeSpeechMp3(EightBitStereo(5, true)), 5, true).samples), 200);

  const testing::DecodedMp3 tone = ExpectPlaysFor(EncodeSpeechMp3(SixteenBitMonoTone(3, 11025)), 3);
  EXPECT_NEAR(Peak(tone.samples), 10000, 1500);
}

TEST(Mp3Encoder, LongVoiceEncodes) {
  ExpectPlaysFor(EncodeSpeechMp3(EightBitStereo(180, false)), 180);
}

TEST(Mp3Encoder, EmptyVoiceGivesNoBytesAndDamageIsRefused) {
  EXPECT_TRUE(EncodeSpeechMp3(Wav(TWaveFormatEx::Pcm(44100, 2, 8), {})).empty());

  Bytes cut = EightBitStereo(1, false);
  cut.erase(cut.end() - 10, cut.end());
  for (const Bytes& bad :
       {cut, Bytes{'R', 'I', 'F', 'F'}, Wav(TWaveFormatEx::Pcm(44100, 2, 24), Bytes(60))}) {
    try {
      EncodeSpeechMp3(bad);
      ADD_FAILURE() << "a damaged voice was encoded";
    } catch (const EMp3Error& e) {
      EXPECT_NE(e.Message().find("The voice cannot be read: "), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace tovak
