// A sound that runs out makes Qt's PulseAudio sink ask the server to drain the stream, naming
// the sink for the answer. Here the answer is made to arrive after the playback has closed its
// device: the server is frozen the moment the request goes out, the client's sound thread is
// held off (its lock taken) while the server is let go and answers, and the device closes
// before the lock is given back. The answer must then find the sink alive. Freed memory is
// filled so that a dead sink crashes at once.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <atomic>
#include <thread>
#include <vector>

#include "audio/audio_events.h"
#include "audio/voice_player.h"
#include "support/private_sound_server.h"

extern "C" const char* __asan_default_options() {
  return "max_free_fill_size=4096:free_fill_byte=190";
}

// Qt keeps its PulseAudio main loop to itself; the test learns it as Qt creates it.
struct pa_threaded_mainloop;
static std::vector<pa_threaded_mainloop*> g_mainLoops;
extern "C" pa_threaded_mainloop* pa_threaded_mainloop_new() {
  using New = pa_threaded_mainloop* (*)();
  static const auto real = reinterpret_cast<New>(dlsym(RTLD_NEXT, "pa_threaded_mainloop_new"));
  pa_threaded_mainloop* loop = real();
  g_mainLoops.push_back(loop);
  return loop;
}

static void LockMainLoops(bool lock) {
  using Lock = void (*)(pa_threaded_mainloop*);
  const auto call = reinterpret_cast<Lock>(
      dlsym(RTLD_DEFAULT, lock ? "pa_threaded_mainloop_lock" : "pa_threaded_mainloop_unlock"));
  for (pa_threaded_mainloop* loop : g_mainLoops) call(loop);
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

  ASSERT_TRUE(player.Play(sound, format)) << player.DeviceError;
  SpinUntil([&] { return bool(g_drainAsked); }, 10000);
  ASSERT_TRUE(g_drainAsked) << "the sink never ran dry";
  ASSERT_FALSE(g_mainLoops.empty());
  LockMainLoops(true);
  server.Resume();
  // The server answers at once; the answer waits for the sound thread, which waits for us.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  player.OnFinished();
  LockMainLoops(false);
  SpinUntil([&] { return closed && g_drainAnswers > 0; }, 3000);
  EXPECT_TRUE(closed);
  EXPECT_EQ(g_drainAnswers, 1);

  // The next playback opens a fresh sink and lets the stopped one go.
  finished = closed = false;
  ASSERT_TRUE(player.Play(sound, format)) << player.DeviceError;
  SpinUntil([&] { return finished; }, 10000);
  player.OnFinished();
  SpinUntil([&] { return closed; }, 5000);
  EXPECT_TRUE(closed);
  qInstallMessageHandler(nullptr);
  g_server = nullptr;
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
