#pragma once

#include <QTimer>
#include <memory>

#include "audio/voice_player.h"
#include "player/show_sequence.h"

namespace tovak {

// A voice played through the system's sound output.
class DeviceVoiceOutput : public VoiceOutput {
 public:
  explicit DeviceVoiceOutput(std::unique_ptr<WaveOutDevice> device);
  ~DeviceVoiceOutput() override;

  bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) override;
  void Stop() override;
  void Pause() override;
  void Resume() override;
  void SetVolume(float gain) override;

 private:
  void OnMessage(int message);

  std::unique_ptr<WaveOutDevice> device_;
  WaveBuffers buffers_;
  TMemoryStream sound_;
  QObject context_;
  int generation_ = 0;
  VoicePlayer player_;
  bool playing_ = false;
};

class QtAdvanceTimer : public AdvanceTimer {
 public:
  QtAdvanceTimer();
  void Start(int milliseconds) override { timer_.start(milliseconds); }
  void Stop() override { timer_.stop(); }
  bool Active() const override { return timer_.isActive(); }
  int Remaining() const override { return timer_.remainingTime(); }

 private:
  QTimer timer_;
};

}  // namespace tovak
