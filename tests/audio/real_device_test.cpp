// Records from the real default input while a tone plays into the default output. On the test
// machines both are a headless sound server's null sink and the source that hears it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "audio/audio_events.h"
#include "audio/voice_player.h"
#include "audio/voice_recorder.h"

namespace tovak {
namespace {

std::vector<uint8_t> Tone(double frequency, double seconds, const TWaveFormatEx& format) {
  std::vector<uint8_t> samples;
  const auto frames = static_cast<size_t>(seconds * format.nSamplesPerSec);
  for (size_t i = 0; i < frames; ++i) {
    const double v = std::sin(2 * M_PI * frequency * double(i) / format.nSamplesPerSec);
    for (int c = 0; c < format.nChannels; ++c)
      samples.push_back(static_cast<uint8_t>(std::lround(128 + 90 * v)));
  }
  return samples;
}

// Rising crossings of the mean per second on the first channel.
double DominantPitch(const std::vector<uint8_t>& samples, const TWaveFormatEx& format, int& range) {
  std::vector<double> channel;
  for (size_t i = 0; i < samples.size(); i += format.nChannels) channel.push_back(samples[i]);
  double mean = 0;
  for (double v : channel) mean += v;
  mean /= channel.empty() ? 1 : channel.size();
  int crossings = 0;
  int low = 255, high = 0;
  for (size_t i = 1; i < channel.size(); ++i) {
    if (channel[i - 1] < mean && channel[i] >= mean) ++crossings;
    low = std::min(low, int(channel[i]));
    high = std::max(high, int(channel[i]));
  }
  range = high - low;
  return crossings / (double(channel.size()) / format.nSamplesPerSec);
}

TEST(RealSoundDevices, RecordsTheToneThatPlays) {
  std::unique_ptr<WaveInDevice> input = MakeQtWaveIn();
  std::unique_ptr<WaveOutDevice> output = MakeQtWaveOut();
  if (input->GetNumDevs() == 0 || output->GetNumDevs() == 0) GTEST_SKIP() << "no sound devices";

  WaveBuffers recordBuffers, playBuffers;
  TMemoryStream recording, sound;
  std::unique_ptr<VoiceRecorder> recorder;
  std::unique_ptr<VoicePlayer> player;
  bool closed = false;
  AudioEventReceiver receiver([&](int message) {
    if (message == WM_RECORDER_DRAIN) recorder->OnDrain();
    if (message == WM_RECORDER_CLOSED) closed = true;
    if (message == WM_PLAYER_FINISHED) player->OnFinished();
  });
  recorder = std::make_unique<VoiceRecorder>(*input, recordBuffers, recording, receiver.Poster());
  player = std::make_unique<VoicePlayer>(*output, playBuffers, sound, receiver.Poster());

  const TWaveFormatEx toneFormat = TWaveFormatEx::Pcm(44100, 2, 8);
  ASSERT_TRUE(player->Play(Tone(440, 6, toneFormat), toneFormat)) << player->DeviceError;
  ASSERT_TRUE(recorder->Record()) << recorder->DeviceError;
  EXPECT_EQ(recorder->RecordingFormat, TWaveFormatEx::Pcm(44100, 2, 8));

  QElapsedTimer clock, sinceStop;
  clock.start();
  while (!closed && clock.elapsed() < 15000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (recording.Size() >= 2 * 88200 && !sinceStop.isValid()) {
      sinceStop.start();
      recorder->RequestStop();
    }
  }
  ASSERT_TRUE(closed) << "the recording did not end";
  std::printf("closed %lld ms after the stop\n", static_cast<long long>(sinceStop.elapsed()));
  EXPECT_LT(sinceStop.elapsed(), 500);
  player->RequestStop();
  for (int i = 0; i < 50 && player->PlayState != VoicePlayer::psClosed; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  ASSERT_GE(recording.Size(), 88200);
  // The tone may reach the input late on a busy machine: measure from where it is heard.
  const std::vector<uint8_t>& all = recording.Bytes();
  size_t heard = 0;
  while (heard < all.size() && std::abs(int(all[heard]) - 128) < 40) ++heard;
  heard -= heard % 2;
  ASSERT_GE(all.size() - heard, 44100u) << "less than a quarter second of the tone was recorded";
  const std::vector<uint8_t> steady(all.begin() + static_cast<std::ptrdiff_t>(heard), all.end());
  int range = 0;
  const double pitch = DominantPitch(steady, recorder->RecordingFormat, range);
  EXPECT_NEAR(pitch, 440, 15);
  EXPECT_GT(range, 60);
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
