#include "audio/voice_recorder.h"

namespace tovak {

VoiceRecorder::VoiceRecorder(WaveInDevice& device, WaveBuffers& buffers,
                             TMemoryStream& recordingStream, PostMessage post)
    : device_(device), buffers_(buffers), stream_(recordingStream), post_(std::move(post)) {}

VoiceRecorder::~VoiceRecorder() {
  post_ = nullptr;
  CloseDevice();
}

bool VoiceRecorder::OpenDevice() {
  WaveCaps caps;
  bool found = false;
  unsigned chosen = ChooseWaveDevice(device_, caps, found, LastResult);
  PreferredDeviceMissing = false;
  if (!PreferredDevice.empty()) {
    PreferredDeviceMissing = true;
    for (unsigned d = 0; d < device_.GetNumDevs(); ++d) {
      WaveCaps named;
      if (device_.GetDevCaps(d, named) == WAVERR_NONE && named.name == PreferredDevice) {
        chosen = d;
        caps = named;
        found = named.supports11kMono8;
        PreferredDeviceMissing = false;
        break;
      }
    }
  }
  RecordingFormat = RecordingFormatFor(found, caps);
  if (device_.GetNumDevs() == 0) return false;
  LastResult = device_.Open(chosen, RecordingFormat,
                            [this](WaveMessage m, WaveHeader* h) { Callback(m, h); });
  open_ = LastResult == WAVERR_NONE;
  return open_;
}

bool VoiceRecorder::StartRecording() {
  StopRequested = false;
  lost_ = false;
  stream_.Clear();
  for (int i = 0; i < 2; ++i) {
    buffers_.Initialise(i);
    LastResult = device_.PrepareHeader(&buffers_.headers[i]);
    LastResult = device_.AddBuffer(&buffers_.headers[i]);
  }
  LastResult = device_.Start();
  if (LastResult == WAVERR_NONE) {
    RecordState = rsRecording;
  } else {
    RecordState = rsStartFailed;
    DeviceError = device_.GetErrorText(LastResult).substr(0, 128);
    return false;
  }
  return true;
}

bool VoiceRecorder::Record() {
  DeviceLost = false;
  if (!OpenDevice()) {
    DeviceError = "Could not open Recording Device";
    return false;
  }
  if (!StartRecording()) {
    // A device that opened but would not start is released before the next attempt.
    const std::string reason = DeviceError;
    CloseDevice();
    DeviceError = reason;
    return false;
  }
  return true;
}

void VoiceRecorder::Callback(WaveMessage message, WaveHeader* header) {
  switch (message) {
    case WaveMessage::Open:
      if (post_) post_(WM_RECORDER_OPENED);
      break;
    case WaveMessage::Close:
      open_ = false;
      // Closed under a running take: the device went away. What came back is the take.
      if (RecordState == rsRecording) Stopped(true);
      if (post_) post_(WM_RECORDER_CLOSED);
      break;
    case WaveMessage::Lost:
      lost_ = true;
      break;
    case WaveMessage::Data:
      // Whatever comes back is the user's voice, also the part-filled buffer of a stop or a loss.
      if (header->dwBytesRecorded > 0) {
        stream_.Seek(0, TStream::soFromEnd);
        stream_.Write(header->lpData, header->dwBytesRecorded);
      }
      if (RecordState == rsRecording && !StopRequested && !lost_) {
        LastResult = device_.PrepareHeader(header);
        LastResult = device_.AddBuffer(header);
        if (LastResult != WAVERR_NONE) {
          // Wave functions are not called from inside their own callback: the window closes it.
          lost_ = true;
          if (post_) post_(WM_RECORDER_DRAIN);
        }
      }
      break;
  }
}

void VoiceRecorder::Stopped(bool lost) {
  RecordState = rsStopped;
  DeviceLost = lost;
  if (lost) {
    DeviceError = "The recording device was lost";
  } else {
    DeviceError.clear();
  }
  if (OnStopped) OnStopped();
}

void VoiceRecorder::RequestStop() {
  StopRequested = true;
  if (RecordState == rsRecording) {
    // The buffer being filled comes back with what it holds and is kept.
    if (open_) LastResult = device_.Stop();
    Stopped(lost_);
  }
  CloseDevice();
}

void VoiceRecorder::OnDrain() {
  if (RecordState == rsRecording && lost_) Stopped(true);
  if (RecordState != rsRecording) CloseDevice();
}

void VoiceRecorder::CloseDevice() {
  if (!open_) return;
  // Buffers given back by the reset must not be queued again.
  if (RecordState == rsRecording) RecordState = rsStopped;
  LastResult = device_.Stop();
  LastResult = device_.Reset();
  stream_.Seek(0, TStream::soFromBeginning);
  for (WaveHeader& header : buffers_.headers) LastResult = device_.UnprepareHeader(&header);
  LastResult = device_.Close();
  if (LastResult == WAVERR_NONE) open_ = false;
}

std::pair<int64_t, int64_t> VoiceRecorder::SizeEstimate(int64_t streamSize) {
  const int64_t k = streamSize / 1024;
  return {k, static_cast<int64_t>(k * 0.2)};
}

}  // namespace tovak
