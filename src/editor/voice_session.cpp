#include "editor/voice_session.h"

namespace tovak {

VoiceSession::VoiceSession(WaveInDevice& input, WaveOutDevice& output, PostMessage post)
    : recorder_(input, buffers_, stream_, post), player_(output, buffers_, stream_, post) {}

bool VoiceSession::Record(EntryId target, std::string& error) {
  if (phase_ != Phase::Idle) {
    error =
        IsPlaying() ? "Stop listening before recording." : "The last recording is not saved yet.";
    return false;
  }
  if (!recorder_.Record()) {
    error = recorder_.DeviceError;
    return false;
  }
  target_ = target;
  phase_ = Phase::Recording;
  return true;
}

void VoiceSession::Stop() {
  if (phase_ != Phase::Recording) return;
  phase_ = Phase::SavingTake;
  recorder_.RequestStop();
}

bool VoiceSession::Listen(const std::string& path, std::string& error) {
  if (phase_ != Phase::Idle) {
    error = IsRecording() || phase_ == Phase::SavingTake ? "Stop recording before listening."
                                                         : "A recording is still playing.";
    return false;
  }
  if (!player_.Listen(path)) {
    error = player_.DeviceError;
    return false;
  }
  phase_ = Phase::Playing;
  return true;
}

void VoiceSession::StopListening() {
  if (phase_ != Phase::Playing) return;
  phase_ = Phase::StoppingPlayback;
  player_.RequestStop();
}

void VoiceSession::Shutdown() {
  if (phase_ == Phase::Recording) Stop();
  if (phase_ == Phase::SavingTake) {
    recorder_.CloseDevice();
    FinishTake();
  }
  if (IsPlaying()) {
    player_.OnFinished();
    phase_ = Phase::Idle;
  }
}

void VoiceSession::FinishTake() {
  if (phase_ != Phase::Recording && phase_ != Phase::SavingTake) return;
  // A close left over from an earlier attempt must not end the recording that runs now.
  if (recorder_.RecordState == VoiceRecorder::rsRecording) return;
  VoiceTake take;
  take.target = target_;
  take.samples = stream_.Bytes();
  take.format = recorder_.RecordingFormat;
  take.deviceLost = recorder_.DeviceLost;
  phase_ = Phase::Idle;
  target_ = kNoEntry;
  if (OnTake) OnTake(std::move(take));
}

void VoiceSession::Handle(int message) {
  switch (message) {
    case WM_RECORDER_DRAIN:
      recorder_.OnDrain();
      break;
    case WM_RECORDER_CLOSED:
      FinishTake();
      break;
    case WM_PLAYER_FINISHED:
      player_.OnFinished();
      break;
    case WM_PLAYER_CLOSED:
      if (IsPlaying() && player_.PlayState == VoicePlayer::psClosed) {
        phase_ = Phase::Idle;
        if (OnPlaybackEnded) OnPlaybackEnded(player_.DeviceLost);
      }
      break;
    default:
      break;
  }
}

}  // namespace tovak
