#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "audio/voice_io.h"
#include "common/memory_stream.h"

namespace tovak {

// Plays a voice file through the default output with two alternating buffers, refilled from
// RecordingStream as they come back. Notifications go to the owner, which calls OnFinished. A
// device that goes away ends the playback as if it had finished, with DeviceLost set.
class VoicePlayer {
 public:
  enum : uint8_t { psPlaying = 0, psExhausted = 1, psClosed = 2, psWriteFailed = 4 };

  VoicePlayer(WaveOutDevice& device, WaveBuffers& buffers, TMemoryStream& recordingStream,
              PostMessage post);
  ~VoicePlayer();

  // Loads the WAV file's sound into RecordingStream and starts playing it in the file's own
  // format. False when nothing plays: DeviceError then says why (a playback still running or
  // stopping, a file that is not a playable WAV file, no output device, a device failure). A
  // refusal because of a running playback leaves that playback alone.
  bool Listen(const std::string& path);
  // Plays sound already in memory.
  bool Play(const std::vector<uint8_t>& samples, const TWaveFormatEx& format);

  // Stop: takes effect when the buffer playing comes back.
  void RequestStop() { StopRequested = true; }

  // The owner's handling of WM_PLAYER_FINISHED: closes the device unless it is closed. Also ends
  // a playback midway; the buffers the device gives back then are neither refilled nor reported.
  void OnFinished();

  std::atomic<uint8_t> PlayState = psClosed;
  std::atomic<bool> StopRequested = false;
  // The playback ended because the device went away; cleared when a playback starts.
  bool DeviceLost = false;
  std::string DeviceError;
  TWaveFormatEx PlaybackFormat;
  int LastResult = 0;
  int64_t ReadPosition = 0;

 private:
  bool Busy();
  bool OpenDevice();
  bool StartPlayback();
  uint32_t Refill(WaveHeader& header);
  void Callback(WaveMessage message, WaveHeader* header);

  WaveOutDevice& device_;
  WaveBuffers& buffers_;
  TMemoryStream& stream_;
  PostMessage post_;
  std::atomic<bool> lost_ = false;
  std::atomic<bool> closing_ = false;
};

}  // namespace tovak
