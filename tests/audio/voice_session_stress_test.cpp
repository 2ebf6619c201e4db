// The editor's record, stop, listen and erase cycle against the real sound devices, many times
// over with awkward timing: a stop at once, a listen that runs to its end, a stop just as it
// ends, a file erased as its playback ends, nine takes and then the first. Hunts races with the
// sound server's own thread, so it runs only when TOVAK_VOICE_STRESS names a number of cycles
// (e.g. TOVAK_VOICE_STRESS=300 under a sanitizer and a busy machine; under ThreadSanitizer with
// TSAN_OPTIONS=suppressions=tests/audio/tsan.supp, which leaves out what Qt and PulseAudio do
// among their own threads).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "audio/audio_events.h"
#include "audio/wav_stream.h"
#include "editor/voice_session.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

class VoiceStress : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* cycles = std::getenv("TOVAK_VOICE_STRESS");
    if (!cycles) GTEST_SKIP() << "set TOVAK_VOICE_STRESS to a number of cycles";
    cycles_ = std::atoi(cycles);
    input_ = MakeQtWaveIn();
    output_ = MakeQtWaveOut();
    if (input_->GetNumDevs() == 0 || output_->GetNumDevs() == 0) GTEST_SKIP() << "no devices";
    session_ = std::make_unique<VoiceSession>(*input_, *output_, receiver_.Poster());
    session_->OnTake = [this](VoiceTake take) {
      ++takes_;
      takeBytes_ += static_cast<int64_t>(take.samples.size());
      TWavStream wav;
      wav.SetFormat(take.format);
      wav.Write(take.samples.data(), static_cast<int64_t>(take.samples.size()));
      if (!take.samples.empty()) wav.SaveToFile(Voice(take.target));
    };
    session_->OnPlaybackEnded = [this](bool) {
      ++ended_;
      // The editor may erase the voice the moment its playback ends.
      if (eraseOnEnd_) std::filesystem::remove(Voice(eraseOnEnd_));
    };
  }

  std::string Voice(EntryId id) const { return dir_.File("voice" + std::to_string(id) + ".wav"); }

  void Spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (clock.elapsed() < ms);
  }

  // Waits for the session to come back to rest, failing after a generous bound.
  void Settle() {
    QElapsedTimer clock;
    clock.start();
    while (!session_->IsIdle() && clock.elapsed() < 15000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_TRUE(session_->IsIdle()) << "phase " << int(session_->CurrentPhase());
  }

  void RecordTake(EntryId id, int ms) {
    std::string error;
    ASSERT_TRUE(session_->Record(id, error)) << error;
    Spin(ms);
    session_->Stop();
    Settle();
  }

  // Listens to a voice, ending the playback after stopAfterMs (never when negative).
  void Listen(EntryId id, int stopAfterMs) {
    if (!std::filesystem::exists(Voice(id))) return;
    std::string error;
    ASSERT_TRUE(session_->Listen(Voice(id), error)) << error;
    if (stopAfterMs >= 0) {
      Spin(stopAfterMs);
      session_->StopListening();
    }
    Settle();
  }

  int cycles_ = 0;
  testing::TempDir dir_;
  std::unique_ptr<WaveInDevice> input_;
  std::unique_ptr<WaveOutDevice> output_;
  std::unique_ptr<VoiceSession> session_;
  AudioEventReceiver receiver_{[this](int message) { session_->Handle(message); }};
  EntryId eraseOnEnd_ = 0;
  int takes_ = 0;
  int64_t takeBytes_ = 0;
  int ended_ = 0;
};

TEST_F(VoiceStress, RecordStopListenEraseCycles) {
  std::mt19937 random(std::random_device{}());
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  QElapsedTimer clock;
  clock.start();
  for (int cycle = 0; cycle < cycles_; ++cycle) {
    switch (cycle % 6) {
      case 0:  // nine takes in a row, then the first one played to its end
        if (cycle % 24 == 0 || cycle == 0) {
          for (EntryId id = 1; id <= 9; ++id) RecordTake(id, between(400, 900));
        }
        Listen(1, -1);
        break;
      case 1:  // a stop at once, then a listen stopped at once
        RecordTake(2, 0);
        RecordTake(3, between(400, 600));
        Listen(3, 0);
        break;
      case 2:  // a listen stopped around its own end
        RecordTake(4, 500);
        Listen(4, between(300, 700));
        break;
      case 3:  // the voice erased as its playback ends, then recorded anew and played again
        RecordTake(5, between(400, 700));
        eraseOnEnd_ = 5;
        Listen(5, -1);
        eraseOnEnd_ = 0;
        RecordTake(5, between(400, 700));
        Listen(5, -1);
        break;
      case 4:  // listens back to back with no pause in between
      case 5:
        for (int i = 0; i < 4; ++i) Listen(between(1, 9), between(0, 2) ? -1 : between(0, 80));
        break;
    }
    if (HasFatalFailure()) return;
  }
  std::printf("%d cycles, %d takes (%lld bytes), %d playbacks in %lld ms\n", cycles_, takes_,
              static_cast<long long>(takeBytes_), ended_, static_cast<long long>(clock.elapsed()));
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
