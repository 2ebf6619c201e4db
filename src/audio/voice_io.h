#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "audio/wave_device.h"

namespace tovak {

// The private notifications of the recorder and the player, posted to their owner (the editor
// window) as Qt events of these types.
inline constexpr int kUserEvent = 1000;  // QEvent::User
inline constexpr int WM_RECORDER_OPENED = kUserEvent + 150;
inline constexpr int WM_RECORDER_DRAIN = kUserEvent + 151;
inline constexpr int WM_RECORDER_CLOSED = kUserEvent + 152;
inline constexpr int WM_PLAYER_OPENED = kUserEvent + 153;
inline constexpr int WM_PLAYER_CLOSED = kUserEvent + 154;
inline constexpr int WM_PLAYER_FINISHED = kUserEvent + 155;

// Posts one of the notifications above to the owner.
using PostMessage = std::function<void(int message)>;

inline constexpr uint32_t kWaveBufferSize = 32768;

// The two buffers that recorder and player take turns with; never both at once.
struct WaveBuffers {
  std::array<std::vector<uint8_t>, 2> data = {std::vector<uint8_t>(kWaveBufferSize),
                                              std::vector<uint8_t>(kWaveBufferSize)};
  std::array<WaveHeader, 2> headers;

  // Points each header at its block, full length, nothing recorded, no flags.
  void Initialise(int i) {
    headers[i] = WaveHeader{};
    headers[i].lpData = data[i].data();
    headers[i].dwBufferLength = kWaveBufferSize;
  }
};

// The device search both directions make: the last device whose capabilities could be read,
// stopping at the first that takes 11025 Hz mono 8-bit. Reports the capabilities it read last.
template <typename Device>
unsigned ChooseWaveDevice(Device& device, WaveCaps& caps, bool& found, int& lastResult) {
  unsigned chosen = 0;
  found = false;
  const unsigned count = device.GetNumDevs();
  for (unsigned d = 0; d < count; ++d) {
    WaveCaps read;
    lastResult = device.GetDevCaps(d, read);
    if (lastResult == WAVERR_NONE) {
      chosen = d;
      caps = read;
    }
    if (caps.supports11kMono8) {
      found = true;
      break;
    }
  }
  return chosen;
}

// The recording format: 44100 Hz stereo 8-bit where the device takes the test format, else
// 22050 Hz with the device's channels.
inline TWaveFormatEx RecordingFormatFor(bool found, const WaveCaps& caps) {
  return found ? TWaveFormatEx::Pcm(44100, 2, 8) : TWaveFormatEx::Pcm(22050, caps.channels, 8);
}

}  // namespace tovak
