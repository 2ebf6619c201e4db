#include "player/show_sequence.h"

namespace tovak {

ShowSequence::ShowSequence(int count, VoiceOutput& voice, AdvanceTimer& timer,
                           std::function<SlideSound(int)> load)
    : count_(count), voice_(voice), timer_(timer), load_(std::move(load)) {
  voice_.Finished = [this] { OnVoiceFinished(); };
  timer_.Fired = [this] { OnTimer(); };
}

void ShowSequence::Start() {
  if (count_ > 0) Enter(0);
}

void ShowSequence::Halt() {
  voice_.Stop();
  timer_.Stop();
  voicePlaying_ = false;
  begun_ = false;
  remaining_ = 0;
}

void ShowSequence::Enter(int index) {
  Halt();
  finished_ = false;
  current_ = index;
  if (Shown) Shown(index);
  if (!paused_) Begin();
}

void ShowSequence::Finish() {
  Halt();
  finished_ = true;
  if (Ended) Ended();
}

void ShowSequence::Begin() {
  begun_ = true;
  const SlideSound sound = load_(current_);
  messageLength_ = sound.messageLength;
  if (sound.hasVoice && voice_.Start(sound.samples, sound.format)) {
    voicePlaying_ = true;
  } else {
    timer_.Start(TimeSlide(messageLength_).withoutVoiceMs);
  }
}

void ShowSequence::OnVoiceFinished() {
  if (!voicePlaying_) return;
  voicePlaying_ = false;
  if (paused_) {
    remaining_ = TimeSlide(messageLength_).afterVoiceMs;
  } else {
    timer_.Start(TimeSlide(messageLength_).afterVoiceMs);
  }
}

void ShowSequence::OnTimer() {
  if (current_ + 1 < count_) {
    Enter(current_ + 1);
  } else {
    Finish();
  }
}

void ShowSequence::Next() {
  // Moving on from the last picture is the end, as when its time runs out.
  if (finished_ || current_ < 0) return;
  if (current_ + 1 < count_) {
    Enter(current_ + 1);
  } else {
    Finish();
  }
}

void ShowSequence::Previous() {
  // From the end, one step back is the last picture.
  if (finished_) {
    Enter(current_);
  } else if (current_ > 0) {
    Enter(current_ - 1);
  }
}

void ShowSequence::First() {
  if (count_ > 0) Enter(0);
}

void ShowSequence::Last() {
  if (count_ > 0) Enter(count_ - 1);
}

void ShowSequence::Replay() {
  if (current_ < 0) return;
  paused_ = false;
  Enter(current_);
}

void ShowSequence::TogglePause() {
  if (finished_ || current_ < 0) return;
  if (!paused_) {
    paused_ = true;
    if (voicePlaying_) voice_.Pause();
    if (timer_.Active()) {
      remaining_ = timer_.Remaining();
      timer_.Stop();
    }
    return;
  }
  paused_ = false;
  if (!begun_) {
    Begin();
  } else if (voicePlaying_) {
    voice_.Resume();
  } else if (remaining_ > 0) {
    timer_.Start(remaining_);
    remaining_ = 0;
  }
}

}  // namespace tovak
