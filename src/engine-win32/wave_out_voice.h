#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine-win32/streamed_voice.h"
#include "player/show_sequence.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace tovak {

// Posted to the window when a voice has played to its end; wParam is the voice's generation.
inline constexpr UINT kVoiceDoneMessage = WM_APP + 1;

// A voice played through the system's wave output while a thread of its own expands it from the
// package into a small ring of buffers: however long the voice, it costs the same memory and
// starts at once. The driver only signals an event; the window hears of the end by a message,
// and everything else happens on the window's thread.
class WaveOutVoice : public VoiceOutput {
 public:
  ~WaveOutVoice() override {
    Stop();
    if (played_) CloseHandle(played_);
  }
  void Attach(HWND window) { window_ = window; }

  // Readies the voice stored in the package's record for the next Start and gives its format;
  // false when it cannot be played (the show then goes on without it).
  bool Prepare(const std::string& path, int64_t offset, int64_t size, TWaveFormatEx& format);
  // Plays the voice Prepare readied; the samples are not looked at, since they are streamed.
  bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) override;
  void Stop() override;
  void Pause() override;
  void Resume() override;
  void SetVolume(float gain) override;

  // For kVoiceDoneMessage: tells Finished when the message is about the voice playing now.
  void OnDone(WPARAM generation);

 private:
  static constexpr int kBuffers = 8;
  static constexpr size_t kBufferBytes = 64 * 1024;

  static unsigned __stdcall Feed(void* self);
  void FeedAll();
  // Waits until buffer k may be filled again; false when the voice is being stopped.
  bool WaitFree(int k);
  bool Queue(int k, size_t bytes);
  void ApplyVolume();

  HWND window_ = nullptr;
  HWAVEOUT device_ = nullptr;
  HANDLE played_ = nullptr;  // signalled by the driver whenever a buffer comes back
  HANDLE thread_ = nullptr;
  std::unique_ptr<StreamedVoice> prepared_;
  std::unique_ptr<StreamedVoice> playing_;
  std::vector<uint8_t> memory_;
  WAVEHDR headers_[kBuffers]{};
  bool queued_[kBuffers]{};
  std::atomic<bool> stopping_{false};
  float gain_ = 1.0f;
  uintptr_t generation_ = 0;
};

}  // namespace tovak
