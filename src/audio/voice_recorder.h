#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "audio/voice_io.h"
#include "common/memory_stream.h"

namespace tovak {

// Records the voice comment from the default input into RecordingStream through two
// alternating buffers. Notifications go to the owner, which calls back OnDrain and, once the
// device has closed, saves the stream as the entry's voice file.
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

  // Stop: takes effect when the next buffer comes back, whose sound is dropped.
  void RequestStop() { StopRequested = true; }

  // The owner's handling of WM_RECORDER_DRAIN: closes the device once recording has stopped.
  void OnDrain();

  // Stops, resets and closes the device; results are not checked. Safe to repeat.
  void CloseDevice();

  // The size labels while recording: kilobytes recorded and a fifth of that as the estimate.
  static std::pair<int64_t, int64_t> SizeEstimate(int64_t streamSize);

  volatile uint8_t RecordState = rsStopped;
  volatile bool StopRequested = false;
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

  WaveInDevice& device_;
  WaveBuffers& buffers_;
  TMemoryStream& stream_;
  PostMessage post_;
  bool open_ = false;
};

}  // namespace tovak
