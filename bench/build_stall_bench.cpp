// How long the window can freeze while a slideshow is built on its thread: 20 camera photos
// (4000 x 3000 with sensor-like grain; every fifth named .jpeg, so it is decoded whole) with
// a 60-second voice each (44100 Hz stereo 8-bit), in full and in compact mode. A 10 ms timer on
// the same thread records how late it fires; the longest delay is the longest freeze.
// Usage: tovak-bench-build-stall [full|compact]...   Runs offscreen.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "builder/package_format.h"
#include "builder/plimo.h"
#include "components/jpeg_codec.h"
#include "support/sample_data.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tovak::testing::TempDir;
using tovak::testing::WriteBytes;

constexpr int kPhotos = 20;
constexpr int kDistinctPhotos = 4;
constexpr int kVoiceSeconds = 60;
constexpr auto kTick = std::chrono::milliseconds(10);

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

std::vector<uint8_t> CameraPhoto(uint32_t seed) {
  return tovak::EncodeJpeg(tovak::testing::CameraLike(seed), 92);
}

std::vector<uint8_t> StereoVoice(uint32_t seed) {
  constexpr uint32_t kRate = 44100;
  const std::vector<uint8_t> mono = tovak::sample::VoiceAudio(kRate * kVoiceSeconds, seed);
  const auto dataSize = static_cast<uint32_t>(mono.size() * 2);
  std::vector<uint8_t> wav(44);
  std::copy_n("RIFF", 4, wav.begin());
  tovak::PutLe32(&wav[4], 36 + dataSize);
  std::copy_n("WAVEfmt ", 8, wav.begin() + 8);
  tovak::PutLe32(&wav[16], 16);
  wav[20] = 1;
  wav[22] = 2;
  tovak::PutLe32(&wav[24], kRate);
  tovak::PutLe32(&wav[28], kRate * 2);
  wav[32] = 2;
  wav[34] = 8;
  std::copy_n("data", 4, wav.begin() + 36);
  tovak::PutLe32(&wav[40], dataSize);
  wav.reserve(wav.size() + dataSize);
  for (uint8_t sample : mono) wav.insert(wav.end(), 2, sample);
  return wav;
}

struct Inputs {
  TempDir dir;
  std::vector<std::string> pictures, messages, voices;

  Inputs() {
    std::vector<std::string> photos, waves;
    for (int i = 0; i < kDistinctPhotos; ++i) {
      photos.push_back(dir.File("photo" + std::to_string(i) + ".jpg"));
      WriteBytes(photos.back(), CameraPhoto(i + 1));
      waves.push_back(dir.File("voice" + std::to_string(i) + ".wav"));
      WriteBytes(waves.back(), StereoVoice(i + 1));
    }
    const std::string message = dir.File("message.txt");
    WriteBytes(message, {'H', 'e', 'l', 'l', 'o', '\r', '\n'});
    for (int i = 0; i < kPhotos; ++i) {
      const std::string name = "p" + std::to_string(i) + (i % 5 == 4 ? ".jpeg" : ".jpg");
      pictures.push_back(dir.File(name));
      fs::create_symlink(photos[i % kDistinctPhotos], pictures.back());
      voices.push_back(waves[i % kDistinctPhotos]);
      messages.push_back(message);
    }
  }
};

struct Result {
  bool ok = false;
  std::string error;
  double buildMs = 0;
  double longestLateMs = 0;
  int lateTicks = 0;  // ticks 100 ms or more late
  int ticks = 0;
  double longestPumpGapMs = 0;
  int gapPicture = 0;
};

Result BuildWithTimer(const Inputs& inputs, const std::string& mode) {
  TempDir program;
  tovak::Paths paths(program.File("program"), program.File("settings"));
  fs::create_directories(program.File("program"));
  WriteBytes(paths.EngineFile(), std::vector<uint8_t>(2 << 20, 0x90));

  tovak::TPlimo builder(paths);
  // As the program builds: every core unless TOVAK_JOBS says otherwise.
  builder.Jobs = tovak::TPlimo::JobsFrom(std::getenv("TOVAK_JOBS"), tovak::TPlimo::CoreCount());
  builder.SetPictures(inputs.pictures);
  builder.SetMessages(inputs.messages);
  builder.SetVoices(inputs.voices);
  if (mode == "full") {
    builder.SetOptions(1280, 1024, 80);
  } else {
    builder.SetOptions(420, 255, 50);
  }

  Result result;
  Clock::time_point lastPump = Clock::now();
  builder.ProcessMessages = [&] {
    const Clock::time_point now = Clock::now();
    if (Ms(now - lastPump) > result.longestPumpGapMs) {
      result.longestPumpGapMs = Ms(now - lastPump);
      result.gapPicture = builder.CurrentIndex + 1;
    }
    QCoreApplication::processEvents();
    lastPump = Clock::now();
  };

  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setInterval(kTick);
  Clock::time_point lastTick;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    const double late = Ms(now - lastTick) - Ms(kTick);
    result.longestLateMs = std::max(result.longestLateMs, late);
    if (late >= 100) ++result.lateTicks;
    ++result.ticks;
    lastTick = now;
  });

  QTimer::singleShot(0, [&] {
    lastTick = Clock::now();
    timer.start();
    const Clock::time_point start = Clock::now();
    lastPump = start;
    result.ok = builder.Build();
    result.buildMs = Ms(Clock::now() - start);
    result.error = builder.LastError;
    timer.stop();
    QCoreApplication::quit();
  });
  QCoreApplication::exec();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<std::string> modes;
  for (int i = 1; i < argc; ++i) modes.emplace_back(argv[i]);
  if (modes.empty()) modes = {"full", "compact"};

  std::printf("generating %d photos of 12 MP and %d voices of %d s...\n", kDistinctPhotos,
              kDistinctPhotos, kVoiceSeconds);
  const Inputs inputs;
  for (const std::string& mode : modes) {
    if (mode != "full" && mode != "compact") {
      std::fprintf(stderr, "unknown mode %s (full or compact)\n", mode.c_str());
      return 2;
    }
    const Result r = BuildWithTimer(inputs, mode);
    if (!r.ok) {
      std::fprintf(stderr, "%s: the build failed: %s\n", mode.c_str(), r.error.c_str());
      return 1;
    }
    std::printf(
        "%-8s build %7.0f ms  longest timer delay %6.1f ms  ticks >= 100 ms late: %d of %d  "
        "longest gap between pumps %6.1f ms (picture %d)\n",
        mode.c_str(), r.buildMs, r.longestLateMs, r.lateTicks, r.ticks, r.longestPumpGapMs,
        r.gapPicture);
  }
  return 0;
}
