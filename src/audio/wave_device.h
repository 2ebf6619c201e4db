#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio/wav_stream.h"

namespace tovak {

// The wave-audio device layer: what the recorder and the player need of a sound card, in the
// shape of the classic wave-in/wave-out interfaces. Buffers are queued by the caller and come
// back through the callback, filled (input) or played (output), in the order they were queued.
// Calls return 0 on success or an error code that ErrorText explains.

struct WaveHeader {
  uint8_t* lpData = nullptr;
  uint32_t dwBufferLength = 0;
  uint32_t dwBytesRecorded = 0;
  uint32_t dwFlags = 0;
};

inline constexpr uint32_t WHDR_DONE = 0x1;
inline constexpr uint32_t WHDR_PREPARED = 0x2;
inline constexpr uint32_t WHDR_INQUEUE = 0x10;

enum class WaveMessage {
  Open,   // the device has opened
  Close,  // the device has closed
  Data,   // a buffer comes back: filled (input) or played (output)
  // The device has gone (unplugged, its sound server died, it stopped advancing). Sent once;
  // every buffer it holds comes back next, and it takes no more. An input device then closes
  // itself; an output device waits for its owner to close it.
  Lost,
};

// Runs on whatever thread the device delivers on; for the Qt devices that is the thread that
// opened them, with an event loop.
using WaveCallback = std::function<void(WaveMessage message, WaveHeader* header)>;

struct WaveCaps {
  std::string name;
  // The device takes 11025 Hz mono 8-bit sound: the test the recorder uses to choose its format.
  bool supports11kMono8 = false;
  uint16_t channels = 1;
};

// Error codes beside 0.
enum WaveError : int {
  WAVERR_NONE = 0,
  WAVERR_BADDEVICEID = 2,
  WAVERR_NOTENABLED = 3,
  WAVERR_ALLOCATED = 4,
  WAVERR_INVALHANDLE = 5,
  WAVERR_NODRIVER = 6,
  WAVERR_NOMEM = 7,
  WAVERR_BADFORMAT = 32,
  WAVERR_STILLPLAYING = 33,
  WAVERR_UNPREPARED = 34,
  WAVERR_DEVICEFAILED = 100,  // the device stopped with an error
};

std::string WaveErrorText(int code);

// The flag bookkeeping every device does alike when a buffer is prepared and unprepared.
inline int PrepareWaveHeader(WaveHeader* header) {
  header->dwFlags |= WHDR_PREPARED;
  return WAVERR_NONE;
}
inline int UnprepareWaveHeader(WaveHeader* header) {
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return WAVERR_NONE;
}

class WaveInDevice {
 public:
  virtual ~WaveInDevice() = default;
  virtual unsigned GetNumDevs() = 0;
  virtual int GetDevCaps(unsigned device, WaveCaps& caps) = 0;
  virtual int Open(unsigned device, const TWaveFormatEx& format, WaveCallback callback) = 0;
  virtual int PrepareHeader(WaveHeader* header) = 0;
  virtual int AddBuffer(WaveHeader* header) = 0;
  virtual int Start() = 0;
  // Stops capturing; the buffer being filled comes back with what it holds.
  virtual int Stop() = 0;
  // Stops and gives every queued buffer back.
  virtual int Reset() = 0;
  virtual int UnprepareHeader(WaveHeader* header) = 0;
  virtual int Close() = 0;
  virtual std::string GetErrorText(int code) { return WaveErrorText(code); }
};

class WaveOutDevice {
 public:
  virtual ~WaveOutDevice() = default;
  virtual unsigned GetNumDevs() = 0;
  virtual int GetDevCaps(unsigned device, WaveCaps& caps) = 0;
  virtual int Open(unsigned device, const TWaveFormatEx& format, WaveCallback callback) = 0;
  virtual int PrepareHeader(WaveHeader* header) = 0;
  // Queues a buffer of dwBufferLength bytes to play.
  virtual int Write(WaveHeader* header) = 0;
  virtual int Pause() = 0;
  virtual int Restart() = 0;
  // Linear gain from 0 (silent) to 1 (as recorded). It holds for the sound playing and for
  // every later opening; a device without a volume control plays as recorded.
  virtual int SetVolume(float) { return WAVERR_NONE; }
  // Stops at once and gives every queued buffer back.
  virtual int Reset() = 0;
  virtual int UnprepareHeader(WaveHeader* header) = 0;
  virtual int Close() = 0;
  virtual std::string GetErrorText(int code) { return WaveErrorText(code); }
};

// The system's sound devices through Qt Multimedia.
std::unique_ptr<WaveInDevice> MakeQtWaveIn();
std::unique_ptr<WaveOutDevice> MakeQtWaveOut();

}  // namespace tovak
