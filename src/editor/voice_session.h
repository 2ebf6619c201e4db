#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/voice_player.h"
#include "audio/voice_recorder.h"
#include "editor/slideshow_project.h"

namespace tovak {

// A finished recording on its way to its entry.
// The loudest sample of 8-bit sound as a share of full scale, 0 to 100.
int PeakLevel(const uint8_t* samples, size_t count);

struct VoiceTake {
  EntryId target = kNoEntry;
  std::vector<uint8_t> samples;
  TWaveFormatEx format;
  bool deviceLost = false;  // the microphone went away before Stop
};

// The editor's one voice session. Recording and playback share two buffers and one stream, so
// at most one of them runs at a time, and nothing new starts until a take has been handed over:
// the only way into either is through Record or Listen here, which refuse when the other is busy.
class VoiceSession {
 public:
  enum class Phase {
    Idle,
    Recording,
    SavingTake,  // stopped; the device is closing and the take is not handed over yet
    Playing,
    StoppingPlayback,  // stop asked; the device has not closed yet
  };

  VoiceSession(WaveInDevice& input, WaveOutDevice& output, PostMessage post);

  Phase CurrentPhase() const { return phase_; }
  bool IsIdle() const { return phase_ == Phase::Idle; }
  bool IsRecording() const { return phase_ == Phase::Recording; }
  bool IsPlaying() const { return phase_ == Phase::Playing || phase_ == Phase::StoppingPlayback; }

  // Starts recording a take for target. False with error set when the session is busy or the
  // device could not be opened or started.
  bool Record(EntryId target, std::string& error);
  // Ends the recording, keeping everything recorded up to now; the take follows through OnTake.
  void Stop();
  // Plays a voice file. False with error set when busy or when it cannot play.
  bool Listen(const std::string& path, std::string& error);
  void StopListening();
  // The microphones there are now, by name, the system's default first.
  std::vector<std::string> InputDeviceNames() const;
  // Records from the microphone of this name from now on; empty for the system's default.
  void SetInputDevice(const std::string& name) { recorder_.PreferredDevice = name; }
  const std::string& InputDevice() const { return recorder_.PreferredDevice; }
  // The chosen microphone was not there at the last Record, which used the default instead.
  bool InputDeviceMissing() const { return recorder_.PreferredDeviceMissing; }

  // Closes whatever device is open (the window is going away): a recording still becomes a take.
  void Shutdown();

  // Bytes recorded so far, for the size estimate while recording.
  int64_t RecordedBytes() const { return static_cast<int64_t>(stream_.Bytes().size()); }
  // While recording: how loud the latest sound is, 0 (silence) to 100 (full scale), and the
  // seconds recorded, counting the buffer that is still filling.
  int InputLevel() const;
  double RecordedSeconds() const;

  // A device notification posted to the owner; hands the owner the take or the end of playback.
  void Handle(int message);

  std::function<void(VoiceTake)> OnTake;
  // Playback has ended (by itself, by Stop or by a lost device).
  std::function<void(bool deviceLost)> OnPlaybackEnded;

 private:
  void FinishTake();

  WaveInDevice& input_;
  WaveOutDevice& output_;
  WaveBuffers buffers_;
  TMemoryStream stream_;
  VoiceRecorder recorder_;
  VoicePlayer player_;
  Phase phase_ = Phase::Idle;
  EntryId target_ = kNoEntry;
};

}  // namespace tovak
