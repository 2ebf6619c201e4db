#pragma once

#include <algorithm>
#include <deque>
#include <vector>

#include "audio/wave_device.h"

namespace tovak::testing {

// Buffers go round as a real device would move them, but only when the test says sound has
// arrived or been played; every call can be made to fail.
template <typename Base>
class FakeWaveDevice : public Base {
 public:
  std::vector<WaveCaps> devices = {{"fake", true, 2}};
  std::vector<int> capsResults;  // per device; 0 when not given
  int openResult = WAVERR_NONE;
  int startResult = WAVERR_NONE;
  int queueResult = WAVERR_NONE;
  int prepareResult = WAVERR_NONE;

  bool isOpen = false;
  bool started = false;
  bool paused = false;
  unsigned openedDevice = 0;
  TWaveFormatEx openedFormat;
  int opens = 0;
  int closes = 0;
  std::deque<WaveHeader*> queue;
  std::vector<uint32_t> queuedLengths;  // dwBufferLength of every buffer queued, in order
  std::vector<uint8_t> played;          // what an output device was given to play

  unsigned GetNumDevs() override { return static_cast<unsigned>(devices.size()); }
  int GetDevCaps(unsigned device, WaveCaps& caps) override {
    if (device >= devices.size()) return WAVERR_BADDEVICEID;
    const int result = device < capsResults.size() ? capsResults[device] : WAVERR_NONE;
    if (result == WAVERR_NONE) caps = devices[device];
    return result;
  }
  int Open(unsigned device, const TWaveFormatEx& format, WaveCallback callback) override {
    if (openResult != WAVERR_NONE) return openResult;
    if (isOpen) return WAVERR_ALLOCATED;
    isOpen = true;
    ++opens;
    openedDevice = device;
    openedFormat = format;
    callback_ = std::move(callback);
    callback_(WaveMessage::Open, nullptr);
    return WAVERR_NONE;
  }
  int PrepareHeader(WaveHeader* h) {
    if (prepareResult != WAVERR_NONE) return prepareResult;
    return PrepareWaveHeader(h);
  }
  int Queue(WaveHeader* h) {
    if (!isOpen) return WAVERR_INVALHANDLE;
    if (queueResult != WAVERR_NONE) return queueResult;
    h->dwBytesRecorded = 0;
    h->dwFlags |= WHDR_INQUEUE;
    queue.push_back(h);
    queuedLengths.push_back(h->dwBufferLength);
    return WAVERR_NONE;
  }
  int Reset() override {
    if (!isOpen) return WAVERR_INVALHANDLE;
    started = false;
    while (!queue.empty()) GiveBack();
    return WAVERR_NONE;
  }
  int UnprepareHeader(WaveHeader* h) override { return UnprepareWaveHeader(h); }
  int Close() override {
    if (!isOpen) return WAVERR_INVALHANDLE;
    if (!queue.empty()) return WAVERR_STILLPLAYING;
    isOpen = false;
    ++closes;
    callback_(WaveMessage::Close, nullptr);
    return WAVERR_NONE;
  }

 protected:
  // The device goes away: it says so, what it holds comes back and it takes no more.
  void Lose() {
    queueResult = WAVERR_DEVICEFAILED;
    started = false;
    callback_(WaveMessage::Lost, nullptr);
    while (!queue.empty()) GiveBack();
  }

  void GiveBack() {
    WaveHeader* h = queue.front();
    queue.pop_front();
    h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    callback_(WaveMessage::Data, h);
  }

  WaveCallback callback_;
};

class FakeWaveIn : public FakeWaveDevice<WaveInDevice> {
 public:
  int PrepareHeader(WaveHeader* h) override { return FakeWaveDevice::PrepareHeader(h); }
  int AddBuffer(WaveHeader* h) override { return Queue(h); }
  int Start() override {
    if (startResult != WAVERR_NONE) return startResult;
    started = true;
    return WAVERR_NONE;
  }
  int Stop() override {
    if (!isOpen) return WAVERR_INVALHANDLE;
    started = false;
    if (!queue.empty() && queue.front()->dwBytesRecorded > 0) GiveBack();
    return WAVERR_NONE;
  }
  std::string GetErrorText(int code) override { return "fake error " + std::to_string(code); }

  // The microphone goes away mid-take; an input device then closes itself.
  void Vanish() {
    Lose();
    isOpen = false;
    ++closes;
    callback_(WaveMessage::Close, nullptr);
  }

  // Sound arrives: fills the queued buffers in order, each coming back when full. Sound with
  // no buffer to go into is lost, as on a real device.
  void Capture(size_t bytes, uint8_t value = 0x80) {
    while (started && bytes > 0 && !queue.empty()) {
      WaveHeader* h = queue.front();
      const size_t n = std::min<size_t>(bytes, h->dwBufferLength - h->dwBytesRecorded);
      std::fill_n(h->lpData + h->dwBytesRecorded, n, value);
      h->dwBytesRecorded += static_cast<uint32_t>(n);
      bytes -= n;
      if (h->dwBytesRecorded == h->dwBufferLength) GiveBack();
    }
  }
};

class FakeWaveOut : public FakeWaveDevice<WaveOutDevice> {
 public:
  int writeResult = WAVERR_NONE;

  // The speaker goes away mid-playback; its owner closes it.
  void Vanish() {
    Lose();
    writeResult = WAVERR_DEVICEFAILED;
  }

  int PrepareHeader(WaveHeader* h) override { return FakeWaveDevice::PrepareHeader(h); }
  int Write(WaveHeader* h) override {
    if (writeResult != WAVERR_NONE) return writeResult;
    return Queue(h);
  }
  int Pause() override {
    paused = true;
    return WAVERR_NONE;
  }
  int Restart() override {
    paused = false;
    return WAVERR_NONE;
  }
  int SetVolume(float gain) override {
    volume = gain;
    return WAVERR_NONE;
  }
  std::string GetErrorText(int code) override { return "fake error " + std::to_string(code); }

  float volume = 1;

  // The buffer at the front has been played.
  bool PlayOne() {
    if (paused || queue.empty()) return false;
    WaveHeader* h = queue.front();
    played.insert(played.end(), h->lpData, h->lpData + h->dwBufferLength);
    GiveBack();
    return true;
  }
};

}  // namespace tovak::testing
