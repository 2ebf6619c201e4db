#pragma once

#include <algorithm>

#include "player/show_sequence.h"

#include <windows.h>

namespace tovak {

// The show's one-shot timer on a window's WM_TIMER; the window hands its tick to OnTimer.
class WindowTimer : public AdvanceTimer {
 public:
  static constexpr UINT_PTR kId = 1;

  void Attach(HWND window) { window_ = window; }
  void Start(int milliseconds) override {
    deadline_ = GetTickCount64() + ULONGLONG(std::max(0, milliseconds));
    active_ = SetTimer(window_, kId, UINT(std::max(1, milliseconds)), nullptr) != 0;
  }
  void Stop() override {
    if (active_) KillTimer(window_, kId);
    active_ = false;
  }
  bool Active() const override { return active_; }
  int Remaining() const override {
    if (!active_) return -1;
    const ULONGLONG now = GetTickCount64();
    return now >= deadline_ ? 0 : int(deadline_ - now);
  }
  void OnTimer() {
    Stop();
    if (Fired) Fired();
  }

 private:
  HWND window_ = nullptr;
  bool active_ = false;
  ULONGLONG deadline_ = 0;
};

}  // namespace tovak
