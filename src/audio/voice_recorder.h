#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "audio/voice_io.h"
#include "common/memory_stream.h"

namespace tovak {

// Records the voice comment from the default input into RecordingStream through two
// alternating buffers. Notifications go to the owner, which saves the stream as the entry's voice
// file once WM_RECORDER_CLOSED arrives. A take is never thrown away: a stop keeps the sound up to
// the press, and a device that goes away mid-take leaves what it captured (DeviceLost tells).
class VoiceRecorder {
 public:
  enum : uint8_t { rsRecording = 0, rsStopped = 1, rsStartFailed = 3 };

  VoiceRecorder(WaveInDevice& device, WaveBuffers& buffers, TMemoryStream& recordingStream,
                PostMessage post);
  ~VoiceRecorder();

  // Opens the device and starts recording. On failure DeviceError says why ("Could not open
  // Recording Device", or the device's own text when it would not start), the device is released
  // and nothing else changes.
  bool Record();

  // Stops at once, keeping everything recorded up to now (the partly filled buffer too), and
  // closes the device, which posts WM_RECORDER_CLOSED. On return RecordState is rsStopped and
  // OnStopped has run.
  void RequestStop();

  // The owner's handling of WM_RECORDER_DRAIN, posted when a buffer could not be given back to
  // the device: ends the take as lost and closes the device.
  void OnDrain();

  // Stops, resets and closes the device, keeping what it gives back; results are not checked.
  // Safe to repeat.
  void CloseDevice();

  // The size labels while recording: kilobytes recorded and a fifth of that as the estimate.
  static std::pair<int64_t, int64_t> SizeEstimate(int64_t streamSize);

  std::atomic<uint8_t> RecordState = rsStopped;
  std::atomic<bool> StopRequested = false;
  // The take ended because the device went away; cleared by Record().
  bool DeviceLost = false;
  // The name of the microphone to record from; empty for the usual choice. When no device of
  // that name is there, Record() makes the usual choice and sets PreferredDeviceMissing.
  std::string PreferredDevice;
  bool PreferredDeviceMissing = false;
  std::string DeviceError;
  TWaveFormatEx RecordingFormat;
  int LastResult = 0;

  // Called on the owner's thread when the stop has been seen, so the owner can unlock its
  // controls.
  std::function<void()> OnStopped;

 private:
  bool OpenDevice();
  bool StartRecording();
  void Callback(WaveMessage message, WaveHeader* header);
  void Stopped(bool lost);

  WaveInDevice& device_;
  WaveBuffers& buffers_;
  TMemoryStream& stream_;
  PostMessage post_;
  std::atomic<bool> open_ = false;
  // The device cannot take buffers any more; the take ends with what has come back.
  std::atomic<bool> lost_ = false;
};

}  // namespace tovak
