#include "engine-win32/wave_out_voice.h"

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tovak {

bool WaveOutVoice::Prepare(const std::string& path, int64_t offset, int64_t size,
                           TWaveFormatEx& format) {
  prepared_.reset();
  if (size <= 0) return false;
  try {
    auto voice = std::make_unique<StreamedVoice>();
    voice->Open(path, offset, size);
    if (voice->Info().dataSize == 0) return false;
    format = voice->Info().format;
    prepared_ = std::move(voice);
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tovak-player: a voice is left out (%s)\n", e.what());
    return false;
  }
}

bool WaveOutVoice::Start(const std::vector<uint8_t>&, const TWaveFormatEx& format) {
  std::unique_ptr<StreamedVoice> voice = std::move(prepared_);
  Stop();
  if (!voice || !window_) return false;
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = format.nChannels;
  wave.nSamplesPerSec = format.nSamplesPerSec;
  wave.wBitsPerSample = format.wBitsPerSample;
  wave.nBlockAlign = WORD(format.nChannels * format.wBitsPerSample / 8);
  wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  if (wave.nBlockAlign == 0) return false;
  if (!played_) played_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!played_ || waveOutOpen(&device_, WAVE_MAPPER, &wave, DWORD_PTR(played_), 0,
                              CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  // Whole frames only: a cut frame would be refused by some drivers.
  const size_t bytes = kBufferBytes - kBufferBytes % wave.nBlockAlign;
  memory_.resize(kBuffers * kBufferBytes);
  for (int k = 0; k < kBuffers; ++k) {
    headers_[k] = WAVEHDR{};
    headers_[k].lpData = reinterpret_cast<LPSTR>(memory_.data() + k * kBufferBytes);
    headers_[k].dwBufferLength = DWORD(bytes);
    queued_[k] = false;
    if (waveOutPrepareHeader(device_, &headers_[k], sizeof headers_[k]) != MMSYSERR_NOERROR) {
      Stop();
      return false;
    }
  }
  ApplyVolume();
  playing_ = std::move(voice);
  stopping_ = false;
  ++generation_;
  thread_ = HANDLE(_beginthreadex(nullptr, 0, &Feed, this, 0, nullptr));
  if (!thread_) {
    Stop();
    return false;
  }
  return true;
}

unsigned __stdcall WaveOutVoice::Feed(void* self) {
  static_cast<WaveOutVoice*>(self)->FeedAll();
  return 0;
}

// On the voice's own thread.
void WaveOutVoice::FeedAll() {
  const uintptr_t generation = generation_;
  const size_t frame = playing_->Info().format.nBlockAlign;
  int next = 0;
  size_t filled = 0;
  bool wanted = true;
  try {
    playing_->Play([&](const uint8_t* bytes, size_t count) {
      while (count > 0) {
        if (filled == 0 && !WaitFree(next)) return wanted = false;
        const size_t room = headers_[next].dwBufferLength - filled;
        const size_t n = std::min(room, count);
        std::memcpy(headers_[next].lpData + filled, bytes, n);
        filled += n;
        bytes += n;
        count -= n;
        if (filled == headers_[next].dwBufferLength) {
          if (!Queue(next, filled)) return wanted = false;
          next = (next + 1) % kBuffers;
          filled = 0;
        }
      }
      return true;
    });
  } catch (...) {
    // A voice that cannot be expanded further ends where it got to.
  }
  if (stopping_) return;
  if (wanted && filled >= frame) Queue(next, filled - filled % frame);
  // Done once the last buffer has been heard; a driver that refused one ends the voice there.
  for (int k = 0; k < kBuffers; ++k) {
    if (!WaitFree(k)) return;
  }
  PostMessageW(window_, kVoiceDoneMessage, WPARAM(generation), 0);
}

bool WaveOutVoice::WaitFree(int k) {
  for (;;) {
    if (stopping_) return false;
    const DWORD flags = reinterpret_cast<volatile DWORD&>(headers_[k].dwFlags);
    if (!queued_[k] || (flags & WHDR_DONE)) return true;
    // The event may have been taken by a wait for another buffer: look again now and then.
    WaitForSingleObject(played_, 100);
  }
}

bool WaveOutVoice::Queue(int k, size_t bytes) {
  headers_[k].dwBufferLength = DWORD(bytes);
  queued_[k] = waveOutWrite(device_, &headers_[k], sizeof headers_[k]) == MMSYSERR_NOERROR;
  return queued_[k];
}

void WaveOutVoice::Stop() {
  prepared_.reset();
  ++generation_;  // whatever comes in from now on belongs to a voice no longer wanted
  if (thread_) {
    stopping_ = true;
    SetEvent(played_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  playing_.reset();
  if (!device_) return;
  waveOutReset(device_);
  for (WAVEHDR& header : headers_) {
    if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &header, sizeof header);
    header = WAVEHDR{};
  }
  waveOutClose(device_);
  device_ = nullptr;
}

void WaveOutVoice::Pause() {
  if (device_) waveOutPause(device_);
}

void WaveOutVoice::Resume() {
  if (device_) waveOutRestart(device_);
}

void WaveOutVoice::SetVolume(float gain) {
  gain_ = std::clamp(gain, 0.0f, 1.0f);
  ApplyVolume();
}

void WaveOutVoice::ApplyVolume() {
  if (!device_) return;
  const DWORD level = DWORD(gain_ * 0xFFFF + 0.5f);
  waveOutSetVolume(device_, level | (level << 16));
}

void WaveOutVoice::OnDone(WPARAM generation) {
  if (!device_ || generation != generation_) return;
  // Closed before Finished: the show may start the next voice from inside it.
  Stop();
  if (Finished) Finished();
}

}  // namespace tovak
