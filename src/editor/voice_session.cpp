#include "editor/voice_session.h"

#include <algorithm>
#include <cstdlib>

namespace tovak {

int PeakLevel(const uint8_t* samples, size_t count) {
  int peak = 0;
  for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(samples[i]) - 128));
  return std::min(100, peak * 100 / 127);
}

namespace {

// The buffer the device is filling now, if any has sound in it yet.
const WaveHeader* FillingBuffer(const WaveBuffers& buffers) {
  for (const WaveHeader& header : buffers.headers) {
    if ((header.dwFlags & WHDR_INQUEUE) && header.dwBytesRecorded > 0) return &header;
  }
  return nullptr;
}

// The sound layer learns of a sound server once, at start: one started later stays unseen until
// the program starts again, which is what the user must be told then.
const char* const kNoInputText =
    "No recording device was found. Please connect a microphone. If the sound system was started "
    "after Quillora Tovak!, close Quillora Tovak! and start it again.";
const char* const kNoOutputText =
    "No sound output was found. Please connect speakers or headphones. If the sound system was "
    "started after Quillora Tovak!, close Quillora Tovak! and start it again.";

}  // namespace

VoiceSession::VoiceSession(WaveInDevice& input, WaveOutDevice& output, PostMessage post)
    : input_(input),
      output_(output),
      recorder_(input, buffers_, stream_, post),
      player_(output, buffers_, stream_, post) {}

std::vector<std::string> VoiceSession::InputDeviceNames() const {
  std::vector<std::string> names;
  for (unsigned d = 0; d < input_.GetNumDevs(); ++d) {
    WaveCaps caps;
    if (input_.GetDevCaps(d, caps) == WAVERR_NONE) names.push_back(caps.name);
  }
  return names;
}

bool VoiceSession::Record(EntryId target, std::string& error) {
  if (phase_ != Phase::Idle) {
    error =
        IsPlaying() ? "Stop listening before recording." : "The last recording is not saved yet.";
    return false;
  }
  if (!recorder_.Record()) {
    error = input_.GetNumDevs() == 0 ? kNoInputText : recorder_.DeviceError;
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
    error = output_.GetNumDevs() == 0 ? kNoOutputText : player_.DeviceError;
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

int VoiceSession::InputLevel() const {
  if (phase_ != Phase::Recording) return 0;
  // The last twentieth of a second or so.
  const size_t window = std::max<uint32_t>(recorder_.RecordingFormat.nAvgBytesPerSec / 20, 64);
  if (const WaveHeader* filling = FillingBuffer(buffers_)) {
    const size_t n = std::min<size_t>(window, filling->dwBytesRecorded);
    return PeakLevel(filling->lpData + filling->dwBytesRecorded - n, n);
  }
  const std::vector<uint8_t>& all = stream_.Bytes();
  const size_t n = std::min(window, all.size());
  return PeakLevel(all.data() + all.size() - n, n);
}

double VoiceSession::RecordedSeconds() const {
  if (phase_ != Phase::Recording) return 0;
  int64_t bytes = RecordedBytes();
  if (const WaveHeader* filling = FillingBuffer(buffers_)) bytes += filling->dwBytesRecorded;
  const uint32_t rate = recorder_.RecordingFormat.nAvgBytesPerSec;
  return rate ? double(bytes) / rate : 0;
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
    if (OnPlaybackEnded) OnPlaybackEnded(false);
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
