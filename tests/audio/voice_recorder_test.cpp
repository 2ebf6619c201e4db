#include "audio/voice_recorder.h"

#include <gtest/gtest.h>

#include <deque>

#include "editor/slideshow_project.h"
#include "support/fake_wave_device.h"
#include "support/package_fixture.h"

namespace tovak {
namespace {

using testing::FakeWaveIn;

// Plays the owner's part: handles each posted notification as the editor window does.
class Recorder : public ::testing::Test {
 protected:
  Recorder() {
    recorder.OnStopped = [this] { ++stops; };
  }

  void Dispatch() {
    while (!posted.empty()) {
      const int message = posted.front();
      posted.pop_front();
      seen.push_back(message);
      if (message == WM_RECORDER_DRAIN) recorder.OnDrain();
      if (message == WM_RECORDER_CLOSED) ++closedNotes;
    }
  }

  FakeWaveIn device;
  WaveBuffers buffers;
  TMemoryStream stream;
  std::deque<int> posted;
  std::vector<int> seen;
  int stops = 0;
  int closedNotes = 0;
  VoiceRecorder recorder{device, buffers, stream, [this](int m) { posted.push_back(m); }};
};

TEST_F(Recorder, ChoosesItsFormatFromTheDevice) {
  ASSERT_TRUE(recorder.Record());
  EXPECT_EQ(device.openedFormat, TWaveFormatEx::Pcm(44100, 2, 8));
  EXPECT_EQ(device.openedFormat.nAvgBytesPerSec, 88200u);
  EXPECT_EQ(device.openedFormat.nBlockAlign, 2);
  recorder.CloseDevice();

  // Without the test format: 22050 Hz with the device's channels, on the last readable device.
  device.devices = {{"a", false, 1}, {"b", false, 2}, {"c", false, 1}};
  device.capsResults = {WAVERR_NONE, WAVERR_NONE, WAVERR_NODRIVER};
  ASSERT_TRUE(recorder.Record());
  EXPECT_EQ(device.openedDevice, 1u);
  EXPECT_EQ(device.openedFormat, TWaveFormatEx::Pcm(22050, 2, 8));
  recorder.CloseDevice();

  // The search stops at the first device that takes the test format.
  device.devices = {{"a", false, 1}, {"b", true, 1}, {"c", false, 2}};
  device.capsResults = {};
  ASSERT_TRUE(recorder.Record());
  EXPECT_EQ(device.openedDevice, 1u);
  EXPECT_EQ(device.openedFormat.nChannels, 2);
}

TEST_F(Recorder, StopKeepsEverythingAndClosesAtOnce) {
  ASSERT_TRUE(recorder.Record());
  Dispatch();
  EXPECT_EQ(seen, std::vector<int>{WM_RECORDER_OPENED});
  device.Capture(5 * kWaveBufferSize + 1000, 0x41);  // about two seconds
  EXPECT_EQ(stream.Size(), 5 * kWaveBufferSize);
  EXPECT_EQ(device.queue.size(), 2u);  // both buffers always queued while recording

  // No further buffer ever comes: the part-filled one is kept and the device closes now.
  recorder.RequestStop();
  EXPECT_EQ(recorder.RecordState, VoiceRecorder::rsStopped);
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(device.isOpen);
  Dispatch();
  EXPECT_EQ(closedNotes, 1);
  EXPECT_FALSE(recorder.DeviceLost);
  EXPECT_EQ(stream.Size(), 5 * kWaveBufferSize + 1000);
  EXPECT_EQ(stream.Bytes().back(), 0x41);
  EXPECT_EQ(stream.Position(), 0);
  for (const WaveHeader& h : buffers.headers) EXPECT_EQ(h.dwFlags & WHDR_PREPARED, 0u);
}

TEST_F(Recorder, DeviceFailuresChangeNothing) {
  stream.Write("keep", 4);
  device.devices.clear();
  EXPECT_FALSE(recorder.Record());
  EXPECT_EQ(recorder.DeviceError, "Could not open Recording Device");
  device.devices = {{"mic", true, 2}};
  device.openResult = WAVERR_ALLOCATED;
  EXPECT_FALSE(recorder.Record());
  EXPECT_EQ(recorder.DeviceError, "Could not open Recording Device");
  EXPECT_EQ(stream.Size(), 4);

  // A start failure gives the device's text and releases the device for the next attempt.
  device.openResult = WAVERR_NONE;
  device.startResult = WAVERR_NOTENABLED;
  EXPECT_FALSE(recorder.Record());
  EXPECT_EQ(recorder.DeviceError, "fake error 3");
  EXPECT_EQ(recorder.RecordState, VoiceRecorder::rsStartFailed);
  EXPECT_FALSE(device.isOpen);
  device.startResult = WAVERR_NONE;
  EXPECT_TRUE(recorder.Record());
}

TEST_F(Recorder, AVanishingDeviceEndsTheRecordingWithWhatItCaptured) {
  ASSERT_TRUE(recorder.Record());
  device.Capture(3 * kWaveBufferSize + 500);
  device.Vanish();
  Dispatch();
  EXPECT_EQ(closedNotes, 1);
  EXPECT_EQ(stream.Size(), 3 * kWaveBufferSize + 500);
  EXPECT_EQ(recorder.RecordState, VoiceRecorder::rsStopped);
  EXPECT_TRUE(recorder.DeviceLost);
  EXPECT_EQ(stops, 1);
  // A stop pressed afterwards changes nothing and posts nothing.
  recorder.RequestStop();
  Dispatch();
  EXPECT_EQ(closedNotes, 1);
  EXPECT_EQ(device.closes, 1);

  // A device that refuses a buffer without closing itself is closed by the window.
  device.queueResult = WAVERR_NONE;
  ASSERT_TRUE(recorder.Record());
  EXPECT_FALSE(recorder.DeviceLost);
  device.queueResult = WAVERR_NODRIVER;
  device.Capture(kWaveBufferSize + 10);
  Dispatch();
  EXPECT_FALSE(device.isOpen);
  EXPECT_TRUE(recorder.DeviceLost);
  EXPECT_EQ(closedNotes, 2);
  EXPECT_EQ(stream.Size(), kWaveBufferSize + 10);
}

TEST_F(Recorder, SizeEstimate) {
  EXPECT_EQ(VoiceRecorder::SizeEstimate(250000), (std::pair<int64_t, int64_t>{244, 48}));
  EXPECT_EQ(VoiceRecorder::SizeEstimate(1023), (std::pair<int64_t, int64_t>{0, 0}));
}

// A second recording for an entry replaces the first, whose file goes.
TEST(RecorderAndProject, ASecondRecordingReplacesTheFirstFile) {
  testing::PackageFixture fixture;
  std::vector<std::string> pictures, messages, voices;
  SlideshowProject project(pictures, messages, voices, fixture.paths.WorkFolder());
  ASSERT_EQ(project.ImportFiles({fixture.Picture("a.jpg")}), "");

  FakeWaveIn device;
  WaveBuffers buffers;
  TMemoryStream stream;
  std::deque<int> posted;
  VoiceRecorder recorder(device, buffers, stream, [&](int m) { posted.push_back(m); });
  std::vector<std::string> files;
  for (int take = 0; take < 2; ++take) {
    ASSERT_TRUE(recorder.Record());
    device.Capture(kWaveBufferSize * (take + 1));
    recorder.RequestStop();
    device.Capture(2 * kWaveBufferSize);
    while (!posted.empty()) {
      const int m = posted.front();
      posted.pop_front();
      if (m == WM_RECORDER_DRAIN) recorder.OnDrain();
      if (m == WM_RECORDER_CLOSED) {
        project.SaveRecording(0, stream.Bytes(), recorder.RecordingFormat);
        files.push_back(voices[0]);
      }
    }
  }
  ASSERT_EQ(files.size(), 2u);
  EXPECT_NE(files[0], files[1]);
  EXPECT_FALSE(std::filesystem::exists(files[0]));
  EXPECT_EQ(std::filesystem::file_size(files[1]), 44 + 2 * kWaveBufferSize);
}

}  // namespace
}  // namespace tovak
