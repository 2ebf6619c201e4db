#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "audio/wav_stream.h"
#include "player/show_timing.h"

namespace tovak {

// Plays one picture's voice; the show waits for Finished before it moves on.
class VoiceOutput {
 public:
  virtual ~VoiceOutput() = default;
  // False when the voice cannot be played; the show then goes on as if there were none.
  virtual bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) = 0;
  // Ends at once; Finished is not called for a stopped voice.
  virtual void Stop() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Linear gain from 0 to 1, for the voice playing and every later one.
  virtual void SetVolume(float gain) = 0;
  std::function<void()> Finished;
};

// A one-shot timer for moving on.
class AdvanceTimer {
 public:
  virtual ~AdvanceTimer() = default;
  virtual void Start(int milliseconds) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
  virtual int Remaining() const = 0;
  std::function<void()> Fired;
};

// What the show needs to time one picture.
struct SlideSound {
  bool hasVoice = false;
  std::vector<uint8_t> samples;
  TWaveFormatEx format;
  size_t messageLength = 0;  // characters of the message
};

// The order of a slideshow: each picture stays while its voice plays, then for a pause that
// grows with its message; a picture without a voice stays a few seconds more. Once the last
// picture's time is over the show has ended; moving to any picture takes it back into the show.
// Keys and clicks move it by hand.
class ShowSequence {
 public:
  static constexpr int kSilentPicture = kSilentPictureMs;
  static int ReadingPause(size_t messageLength) { return ReadingPauseMs(messageLength); }

  ShowSequence(int count, VoiceOutput& voice, AdvanceTimer& timer,
               std::function<SlideSound(int index)> load);

  void Start();
  void Next();
  void Previous();
  void First();
  void Last();
  void TogglePause();
  // Shows the current picture again and plays its voice from the start, even when paused.
  void Replay();

  int Current() const { return current_; }
  int Count() const { return count_; }
  bool Paused() const { return paused_; }
  bool VoicePlaying() const { return voicePlaying_; }
  bool Finished() const { return finished_; }

  // Told whenever another picture is to be shown.
  std::function<void(int index)> Shown;
  // Told when the show has gone past its last picture.
  std::function<void()> Ended;

 private:
  void Enter(int index);
  void Begin();
  void Halt();
  void Finish();
  void OnVoiceFinished();
  void OnTimer();

  int count_;
  VoiceOutput& voice_;
  AdvanceTimer& timer_;
  std::function<SlideSound(int)> load_;
  int current_ = -1;
  bool paused_ = false;
  bool begun_ = false;  // the current picture's voice or timer has started
  bool voicePlaying_ = false;
  bool finished_ = false;
  int remaining_ = 0;
  size_t messageLength_ = 0;
};

}  // namespace tovak
