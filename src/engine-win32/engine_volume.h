#pragma once

#include <algorithm>
#include <string>

namespace tovak {

// The listener's volume, by the same rules as the Linux player's: steps of a tenth, a mute that
// keeps the level to come back to, and a gain by the square of the level.
class EngineVolume {
 public:
  void Up() { muted_ ? void(muted_ = false) : void(percent_ = std::min(100, percent_ + 10)); }
  void Down() { percent_ = std::max(0, percent_ - 10); }
  void ToggleMute() { muted_ = !muted_; }
  float Gain() const { return muted_ ? 0.0f : (percent_ / 100.0f) * (percent_ / 100.0f); }
  std::wstring Text() const {
    return muted_ ? L"Muted" : L"Volume " + std::to_wstring(percent_) + L" %";
  }

 private:
  int percent_ = 100;
  bool muted_ = false;
};

}  // namespace tovak
