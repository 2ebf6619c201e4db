#include "audio/voice_player.h"

#include <gtest/gtest.h>

#include <deque>

#include "support/fake_wave_device.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::FakeWaveOut;

class Player : public ::testing::Test {
 protected:
  std::string Wav(const std::string& name, size_t samples, TWaveFormatEx format) {
    TWavStream wav;
    wav.SetFormat(format);
    Bytes data(samples);
    for (size_t i = 0; i < samples; ++i) data[i] = static_cast<uint8_t>(i * 7);
    wav.Write(data.data(), static_cast<int64_t>(samples));
    wav.SaveToFile(dir.File(name));
    return dir.File(name);
  }

  void Dispatch() {
    while (!posted.empty()) {
      const int m = posted.front();
      posted.pop_front();
      seen.push_back(m);
      if (m == WM_PLAYER_FINISHED) player.OnFinished();
    }
  }

  testing::TempDir dir;
  FakeWaveOut device;
  WaveBuffers buffers;
  TMemoryStream stream;
  std::deque<int> posted;
  std::vector<int> seen;
  VoicePlayer player{device, buffers, stream, [this](int m) { posted.push_back(m); }};
};

TEST_F(Player, AShortFilePlaysOnceWithTheSecondBufferEmpty) {
  const std::string file = Wav("short.wav", 1000, TWaveFormatEx::Pcm(22050, 1, 8));
  ASSERT_TRUE(player.Listen(file)) << player.DeviceError;
  // Played in the file's own format, its header left out.
  EXPECT_EQ(device.openedFormat, TWaveFormatEx::Pcm(22050, 1, 8));
  EXPECT_EQ(device.queuedLengths, (std::vector<uint32_t>{1000, 0}));
  EXPECT_FALSE(device.paused);
  ASSERT_TRUE(device.PlayOne());
  Dispatch();
  EXPECT_EQ(device.played.size(), 1000u);
  EXPECT_EQ(device.played[1], 7);
  EXPECT_EQ(player.PlayState, VoicePlayer::psClosed);
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(seen.front(), WM_PLAYER_OPENED);
  EXPECT_EQ(seen.back(), WM_PLAYER_CLOSED);
}

TEST_F(Player, LongerFilesAreRefilledInOrder) {
  const size_t size = 3 * kWaveBufferSize + 100;
  ASSERT_TRUE(player.Listen(Wav("long.wav", size, TWaveFormatEx::Pcm(44100, 2, 8))));
  while (device.PlayOne()) Dispatch();
  Dispatch();
  ASSERT_EQ(device.played.size(), size);
  for (size_t i = 0; i < size; i += 4097) EXPECT_EQ(device.played[i], static_cast<uint8_t>(i * 7));
  EXPECT_EQ(device.queuedLengths,
            (std::vector<uint32_t>{kWaveBufferSize, kWaveBufferSize, kWaveBufferSize, 100, 0}));
  EXPECT_FALSE(device.isOpen);
}

TEST_F(Player, StopEndsWithinOneBuffer) {
  ASSERT_TRUE(
      player.Listen(Wav("long.wav", 10 * kWaveBufferSize, TWaveFormatEx::Pcm(44100, 2, 8))));
  player.RequestStop();
  ASSERT_TRUE(device.PlayOne());
  Dispatch();
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(device.played.size(), kWaveBufferSize);
  // A new playback can start once closed.
  ASSERT_TRUE(player.Listen(dir.File("long.wav")));
}

TEST_F(Player, ListenWhileStoppingIsRefusedAndLeavesThePlaybackAlone) {
  const std::string first = Wav("long.wav", 10 * kWaveBufferSize, TWaveFormatEx::Pcm(44100, 2, 8));
  const std::string second = Wav("short.wav", 100, TWaveFormatEx::Pcm(22050, 1, 8));
  ASSERT_TRUE(player.Listen(first));
  player.RequestStop();
  EXPECT_FALSE(player.Listen(second));
  EXPECT_EQ(player.DeviceError, "A playback is still running");
  EXPECT_TRUE(player.StopRequested);
  EXPECT_EQ(stream.Size(), 10 * kWaveBufferSize);
  ASSERT_TRUE(device.PlayOne());
  Dispatch();
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(device.played.size(), kWaveBufferSize);
}

TEST_F(Player, ALostDeviceEndsThePlayback) {
  ASSERT_TRUE(
      player.Listen(Wav("long.wav", 10 * kWaveBufferSize, TWaveFormatEx::Pcm(44100, 2, 8))));
  ASSERT_TRUE(device.PlayOne());
  Dispatch();
  device.Vanish();
  Dispatch();
  EXPECT_TRUE(player.DeviceLost);
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(player.PlayState, VoicePlayer::psClosed);
  EXPECT_EQ(seen.back(), WM_PLAYER_CLOSED);
  device.writeResult = device.queueResult = WAVERR_NONE;  // plugged back in
  ASSERT_TRUE(player.Listen(dir.File("long.wav")));
  EXPECT_FALSE(player.DeviceLost);
}

// Closing midway gives the buffers back without refilling them or reporting them finished.
TEST_F(Player, ClosingMidPlaybackQueuesNothingMore) {
  ASSERT_TRUE(
      player.Listen(Wav("long.wav", 10 * kWaveBufferSize, TWaveFormatEx::Pcm(44100, 2, 8))));
  ASSERT_TRUE(device.PlayOne());
  Dispatch();
  seen.clear();
  player.OnFinished();
  Dispatch();
  EXPECT_EQ(device.queuedLengths.size(), 3u);
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(seen, std::vector<int>{WM_PLAYER_CLOSED});
}

TEST_F(Player, FilesThatAreNotPlayableGiveAClearError) {
  testing::WriteBytes(dir.File("text.wav"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_FALSE(player.Listen(dir.File("text.wav")));
  EXPECT_EQ(player.DeviceError, "This is not a WAV file");
  const std::string good = Wav("cut.wav", 5000, TWaveFormatEx::Pcm(11025, 1, 8));
  Bytes cut = testing::ReadBytes(good);
  cut.resize(2000);
  testing::WriteBytes(dir.File("cut.wav"), cut);
  EXPECT_FALSE(player.Listen(dir.File("cut.wav")));
  EXPECT_EQ(player.DeviceError, "The WAV file is cut short");
  EXPECT_FALSE(player.Listen(dir.File("missing.wav")));
  EXPECT_EQ(device.opens, 0);
}

TEST_F(Player, DeviceFailuresReleaseTheDevice) {
  const std::string file = Wav("a.wav", 100, TWaveFormatEx::Pcm(44100, 2, 8));
  device.devices.clear();
  EXPECT_FALSE(player.Listen(file));
  EXPECT_EQ(player.PlayState, VoicePlayer::psClosed);

  device.devices = {{"speaker", true, 2}};
  device.prepareResult = WAVERR_NOMEM;
  EXPECT_FALSE(player.Listen(file));
  EXPECT_EQ(player.DeviceError, "Could not prepare header");
  EXPECT_FALSE(device.isOpen);

  device.prepareResult = WAVERR_NONE;
  device.writeResult = WAVERR_NODRIVER;
  EXPECT_FALSE(player.Listen(file));
  EXPECT_EQ(player.DeviceError, "fake error 6");
  EXPECT_FALSE(device.isOpen);
  EXPECT_EQ(player.PlayState, VoicePlayer::psClosed);
}

}  // namespace
}  // namespace tovak
