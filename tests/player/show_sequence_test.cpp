#include "player/show_sequence.h"

#include <gtest/gtest.h>

namespace tovak {
namespace {

class FakeVoice : public VoiceOutput {
 public:
  bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx&) override {
    if (failing) return false;
    playing = true;
    paused = false;
    lastLength = samples.size();
    ++starts;
    return true;
  }
  void Stop() override { playing = false; }
  void Pause() override { paused = true; }
  void Resume() override { paused = false; }
  void SetVolume(float) override {}
  void End() {
    playing = false;
    if (Finished) Finished();
  }
  bool playing = false, paused = false, failing = false;
  size_t lastLength = 0;
  int starts = 0;
};

class FakeTimer : public AdvanceTimer {
 public:
  void Start(int ms) override {
    active = true;
    remaining = ms;
    started.push_back(ms);
  }
  void Stop() override { active = false; }
  bool Active() const override { return active; }
  int Remaining() const override { return remaining; }
  void Pass(int ms) {
    remaining -= ms;
    if (active && remaining <= 0) {
      active = false;
      if (Fired) Fired();
    }
  }
  bool active = false;
  int remaining = 0;
  std::vector<int> started;
};

class Sequence : public ::testing::Test {
 protected:
  Sequence() {
    show.Shown = [this](int i) { shown.push_back(i); };
    show.Ended = [this] { ++ended; };
  }

  // Pictures 0 and 2 have voices, 1 has none; each has a message of 10 characters.
  static SlideSound Load(int index) {
    SlideSound sound;
    sound.hasVoice = index != 1;
    sound.samples.assign(1000 + index, 128);
    sound.messageLength = 10;
    return sound;
  }

  FakeVoice voice;
  FakeTimer timer;
  ShowSequence show{3, voice, timer, Load};
  std::vector<int> shown;
  int ended = 0;
};

TEST_F(Sequence, EachPictureWaitsForItsVoiceThenAReadingPause) {
  show.Start();
  EXPECT_EQ(shown, std::vector<int>{0});
  EXPECT_TRUE(voice.playing);
  EXPECT_FALSE(timer.active);
  voice.End();
  const int pause = ShowSequence::ReadingPause(10);
  EXPECT_EQ(timer.started.back(), pause);
  timer.Pass(pause - 1);
  EXPECT_EQ(show.Current(), 0);
  timer.Pass(1);
  EXPECT_EQ(show.Current(), 1);
  // No voice: a few seconds more than the reading pause.
  EXPECT_EQ(timer.started.back(), ShowSequence::kSilentPicture + pause);
  timer.Pass(ShowSequence::kSilentPicture + pause);
  EXPECT_EQ(show.Current(), 2);
  voice.End();
  timer.Pass(pause);
  EXPECT_EQ(show.Current(), 2);  // the show stops on the last picture
  EXPECT_TRUE(show.Finished());
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2}));
  EXPECT_GT(ShowSequence::ReadingPause(1000), ShowSequence::ReadingPause(10));
}

TEST_F(Sequence, KeysMoveWithinBoundsAndStopTheVoice) {
  show.Start();
  show.Previous();
  EXPECT_EQ(show.Current(), 0);
  EXPECT_EQ(shown.size(), 1u);
  show.Next();
  EXPECT_EQ(show.Current(), 1);
  show.Last();
  EXPECT_EQ(show.Current(), 2);
  EXPECT_EQ(voice.lastLength, 1002u);
  show.Next();  // past the last picture is the end
  EXPECT_EQ(show.Current(), 2);
  EXPECT_TRUE(show.Finished());
  show.First();
  EXPECT_EQ(show.Current(), 0);
  // A voice that ends after the picture was left does not move the show on.
  show.Next();
  voice.End();
  EXPECT_EQ(show.Current(), 1);
}

TEST_F(Sequence, PauseHoldsVoiceAndTimer) {
  show.Start();
  show.TogglePause();
  EXPECT_TRUE(voice.paused);
  voice.End();  // the voice ends while paused
  EXPECT_FALSE(timer.active);
  show.TogglePause();
  EXPECT_TRUE(timer.active);
  timer.Pass(500);
  show.TogglePause();
  EXPECT_FALSE(timer.active);
  const int left = timer.remaining;
  show.TogglePause();
  EXPECT_EQ(timer.started.back(), left);

  // Moving while paused shows the picture but starts nothing until resumed.
  show.TogglePause();
  const int starts = voice.starts;
  show.Last();
  EXPECT_EQ(voice.starts, starts);
  show.TogglePause();
  EXPECT_EQ(voice.starts, starts + 1);
}

TEST_F(Sequence, AVoiceThatCannotPlayCountsAsNone) {
  voice.failing = true;
  show.Start();
  EXPECT_EQ(timer.started.back(), ShowSequence::kSilentPicture + ShowSequence::ReadingPause(10));
}

TEST_F(Sequence, TheEndIsLeftByMovingAndPlaysAtOnce) {
  show.Start();
  show.Last();
  voice.End();
  timer.Pass(ShowSequence::ReadingPause(10));  // the last picture's time ends the show
  ASSERT_TRUE(show.Finished());
  show.TogglePause();  // nothing to pause at the end
  EXPECT_FALSE(show.Paused());
  show.Next();
  EXPECT_EQ(ended, 1);

  const int starts = voice.starts;
  show.Previous();  // back to the last picture, not the one before it
  EXPECT_EQ(show.Current(), 2);
  EXPECT_FALSE(show.Finished());
  EXPECT_FALSE(show.Paused());
  EXPECT_EQ(voice.starts, starts + 1);
  voice.End();
  timer.Pass(ShowSequence::ReadingPause(10));
  ASSERT_EQ(ended, 2);
  show.First();  // play again
  EXPECT_EQ(show.Current(), 0);
  EXPECT_FALSE(show.Finished());
  EXPECT_EQ(voice.starts, starts + 2);
}

TEST_F(Sequence, ReplayPlaysTheVoiceFromItsStartEvenWhenPaused) {
  show.Start();
  voice.End();
  ASSERT_TRUE(timer.active);
  show.TogglePause();
  show.Replay();
  EXPECT_EQ(show.Current(), 0);
  EXPECT_FALSE(show.Paused());
  EXPECT_TRUE(voice.playing);
  EXPECT_FALSE(timer.active);  // the reading pause starts again after the voice
  EXPECT_EQ(voice.starts, 2);
  voice.End();
  timer.Pass(ShowSequence::ReadingPause(10));
  EXPECT_EQ(show.Current(), 1);
}

}  // namespace
}  // namespace tovak
