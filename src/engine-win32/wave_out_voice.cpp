#include "engine-win32/wave_out_voice.h"

#include <algorithm>

namespace tovak {

void CALLBACK WaveOutVoice::Callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR,
                                     DWORD_PTR) {
  // Only posting is allowed inside a wave callback.
  if (message != WOM_DONE) return;
  const auto* target = reinterpret_cast<const Target*>(instance);
  PostMessageW(target->window, kVoiceDoneMessage, WPARAM(target->generation.load()), 0);
}

bool WaveOutVoice::Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) {
  Stop();
  if (samples.empty() || samples.size() > 0x7FFFFFFF || !window_) return false;
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = format.nChannels;
  wave.nSamplesPerSec = format.nSamplesPerSec;
  wave.wBitsPerSample = format.wBitsPerSample;
  wave.nBlockAlign = WORD(format.nChannels * format.wBitsPerSample / 8);
  wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  if (wave.nBlockAlign == 0) return false;
  target_.window = window_;
  target_.generation = ++generation_;
  if (waveOutOpen(&device_, WAVE_MAPPER, &wave, DWORD_PTR(&Callback), DWORD_PTR(&target_),
                  CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  // Whole frames only: a cut last frame would be refused by some drivers.
  samples_.assign(samples.begin(),
                  samples.end() - static_cast<std::ptrdiff_t>(samples.size() % wave.nBlockAlign));
  header_ = WAVEHDR{};
  header_.lpData = reinterpret_cast<LPSTR>(samples_.data());
  header_.dwBufferLength = DWORD(samples_.size());
  ApplyVolume();
  if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR ||
      waveOutWrite(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) {
    Stop();
    return false;
  }
  return true;
}

void WaveOutVoice::Stop() {
  if (!device_) return;
  ++generation_;  // whatever the reset reports belongs to a voice no longer wanted
  target_.generation = 0;
  waveOutReset(device_);
  if (header_.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &header_, sizeof header_);
  waveOutClose(device_);
  device_ = nullptr;
  header_ = WAVEHDR{};
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
