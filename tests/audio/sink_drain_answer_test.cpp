// A sound that runs out makes Qt's PulseAudio sink ask the server to drain the stream, naming
// the sink for the answer. Here the server is frozen the moment that request goes out, the
// playback is ended and its device closed, and only then is the server let go: an answer that
// still comes must find the sink alive. Freed memory is filled so that a dead sink crashes at
// once. The server answers such a late request about every other time (otherwise it drops the
// request with the stream), so the playback is repeated until it has.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <atomic>
#include <cstring>

#include "audio/audio_events.h"
#include "audio/voice_player.h"
#include "support/private_sound_server.h"

extern "C" const char* __asan_default_options() {
  return "max_free_fill_size=4096:free_fill_byte=190";
}

namespace tovak {
namespace {

std::atomic<bool> g_drainAsked = false;
std::atomic<int> g_drainAnswers = 0;
testing::PrivateSoundServer* g_server = nullptr;

// Runs on the sound server's thread too.
void WatchSink(QtMsgType type, const QMessageLogContext&, const QString& text) {
  const QByteArray line = text.toLocal8Bit();
  if (line.contains("Draining stream at end of buffer") && !g_drainAsked.exchange(true)) {
    g_server->Pause();
  } else if (line.contains("Stream drained: true") && !line.endsWith(" 0x0")) {
    ++g_drainAnswers;  // an answer that names a sink
  } else if (type != QtDebugMsg) {
    std::fprintf(stderr, "%s\n", line.constData());
  }
}

void SpinUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

TEST(SinkDrainAnswer, ComesAfterThePlaybackClosedAndFindsTheSinkAlive) {
  if (testing::RunCommand("command -v pulseaudio && command -v pactl").status != 0) {
    GTEST_SKIP() << "pulseaudio is not installed";
  }
  testing::TempDir dir;
  testing::PrivateSoundServer server(dir);
  ASSERT_TRUE(server.Ready());
  g_server = &server;
  QLoggingCategory::setFilterRules("qt.multimedia.pulseaudio.output.debug=true");
  qInstallMessageHandler(WatchSink);

  std::unique_ptr<WaveOutDevice> device = MakeQtWaveOut();
  if (device->GetNumDevs() == 0) GTEST_SKIP() << "Qt sees no sound output";
  WaveBuffers buffers;
  TMemoryStream stream;
  bool finished = false, closed = false;
  AudioEventReceiver receiver([&](int message) {
    if (message == WM_PLAYER_FINISHED) finished = true;
    if (message == WM_PLAYER_CLOSED) closed = true;
  });
  VoicePlayer player(*device, buffers, stream, receiver.Poster());
  const TWaveFormatEx format = TWaveFormatEx::Pcm(22050, 1, 8);
  const std::vector<uint8_t> sound(22050 / 5, 0x80);

  int attempts = 0;
  bool answeredLate = false;
  while (!answeredLate && attempts < 16) {
    ++attempts;
    finished = closed = false;
    g_drainAsked = false;
    ASSERT_TRUE(player.Play(sound, format)) << player.DeviceError;
    SpinUntil([&] { return finished && g_drainAsked; }, 10000);
    ASSERT_TRUE(g_drainAsked) << "the sink never ran dry";
    // The server sleeps on the drain request while the playback closes its device.
    player.OnFinished();
    SpinUntil([&] { return closed; }, 5000);
    ASSERT_TRUE(closed);
    const int answers = g_drainAnswers;
    server.Resume();
    SpinUntil([&] { return g_drainAnswers > answers; }, 500);
    answeredLate = g_drainAnswers > answers;
  }
  std::printf("the server answered after the close at attempt %d\n", attempts);
  // The next playback opens a fresh sink and lets the stopped one go.
  finished = closed = false;
  ASSERT_TRUE(player.Play(sound, format)) << player.DeviceError;
  SpinUntil([&] { return finished; }, 10000);
  player.OnFinished();
  SpinUntil([&] { return closed; }, 5000);
  EXPECT_TRUE(closed);
  qInstallMessageHandler(nullptr);
  g_server = nullptr;
  if (!answeredLate) GTEST_SKIP() << "the server dropped every late drain request";
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
