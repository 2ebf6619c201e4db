#include "player/show_volume.h"

#include <QCoreApplication>
#include <algorithm>

namespace tovak {

void ShowVolume::Up() {
  if (muted_) {
    muted_ = false;
  } else {
    percent_ = std::min(100, percent_ + kStep);
  }
}

void ShowVolume::Down() {
  percent_ = std::max(0, percent_ - kStep);
}

void ShowVolume::ToggleMute() {
  muted_ = !muted_;
}

float ShowVolume::Gain() const {
  if (muted_) return 0;
  const float level = percent_ / 100.0f;
  return level * level;
}

QString ShowVolume::Text() const {
  return muted_ ? QCoreApplication::translate("tovak::ShowVolume", "Muted")
                : QCoreApplication::translate("tovak::ShowVolume", "Volume %1 %").arg(percent_);
}

}  // namespace tovak
