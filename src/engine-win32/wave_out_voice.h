#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "player/show_sequence.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace tovak {

// Posted to the window when a voice has played to its end; wParam is the voice's generation.
inline constexpr UINT kVoiceDoneMessage = WM_APP + 1;

// A voice played whole through the system's wave output. The driver's thread only posts a
// message; everything else happens on the window's thread.
class WaveOutVoice : public VoiceOutput {
 public:
  ~WaveOutVoice() override { Stop(); }
  void Attach(HWND window) { window_ = window; }

  bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) override;
  void Stop() override;
  void Pause() override;
  void Resume() override;
  void SetVolume(float gain) override;

  // For kVoiceDoneMessage: tells Finished when the message is about the voice playing now.
  void OnDone(WPARAM generation);

 private:
  static void CALLBACK Callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);
  void ApplyVolume();

  HWND window_ = nullptr;
  HWAVEOUT device_ = nullptr;
  WAVEHDR header_{};
  std::vector<uint8_t> samples_;
  float gain_ = 1.0f;
  uintptr_t generation_ = 0;
  // The callback gets only a number; it reaches the window through this. The generation is
  // read on the driver's thread while Stop may clear it.
  struct Target {
    HWND window = nullptr;
    std::atomic<uintptr_t> generation{0};
  } target_;
};

}  // namespace tovak
