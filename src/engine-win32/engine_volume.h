#pragma once

#include <algorithm>
#include <string>

#include "engine-win32/wide_text.h"
#include "player/show_texts.h"

namespace tovak {

// The listener's volume, by the same rules as the Linux player's: steps of a tenth, a mute that
// keeps the level to come back to, and a gain by the square of the level.
class EngineVolume {
 public:
  void Up() { muted_ ? void(muted_ = false) : void(percent_ = std::min(100, percent_ + 10)); }
  void Down() { percent_ = std::max(0, percent_ - 10); }
  void ToggleMute() { muted_ = !muted_; }
  float Gain() const { return muted_ ? 0.0f : (percent_ / 100.0f) * (percent_ / 100.0f); }
  std::wstring Text(const ShowTexts& texts) const {
    if (muted_) return Widen(texts.Text(kMuted));
    std::wstring text = Widen(texts.Text(kVolume));
    if (const size_t at = text.find(L"%1"); at != std::wstring::npos)
      text.replace(at, 2, std::to_wstring(percent_));
    return text;
  }

 private:
  int percent_ = 100;
  bool muted_ = false;
};

}  // namespace tovak
