#pragma once

#include <QString>

namespace tovak {

// The listener's volume for the voices: steps of a tenth, and a mute that keeps the level to
// come back to.
class ShowVolume {
 public:
  static constexpr int kStep = 10;

  // Louder; a muted show is first heard again at the level it had.
  void Up();
  // Softer; a muted show stays muted.
  void Down();
  void ToggleMute();

  int Percent() const { return percent_; }
  bool Muted() const { return muted_; }
  // The gain for the sound device. Loudness is heard far from linearly: by the square of the
  // level, each step sounds about as large as the one before.
  float Gain() const;
  // What the show displays after a change, e.g. "Volume 70 %" or "Muted".
  QString Text() const;

 private:
  int percent_ = 100;
  bool muted_ = false;
};

}  // namespace tovak
