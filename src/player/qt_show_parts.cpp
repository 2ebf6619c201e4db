#include "player/qt_show_parts.h"

namespace tovak {

DeviceVoiceOutput::DeviceVoiceOutput(std::unique_ptr<WaveOutDevice> device)
    : device_(std::move(device)), player_(*device_, buffers_, sound_, [this](int message) {
        // Handled on the next turn of the event loop, and only if it still concerns the voice
        // that posted it: a stopped voice's late notices must not end its successor.
        const int generation = generation_;
        QTimer::singleShot(0, &context_, [this, message, generation] {
          if (generation == generation_) OnMessage(message);
        });
      }) {}

DeviceVoiceOutput::~DeviceVoiceOutput() {
  Stop();
}

bool DeviceVoiceOutput::Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) {
  Stop();
  playing_ = player_.Play(samples, format);
  return playing_;
}

void DeviceVoiceOutput::Stop() {
  ++generation_;
  playing_ = false;
  if (player_.PlayState == VoicePlayer::psClosed) return;
  player_.RequestStop();
  player_.OnFinished();
}

void DeviceVoiceOutput::Pause() {
  device_->Pause();
}
void DeviceVoiceOutput::Resume() {
  device_->Restart();
}
void DeviceVoiceOutput::SetVolume(float gain) {
  device_->SetVolume(gain);
}

void DeviceVoiceOutput::OnMessage(int message) {
  if (message == WM_PLAYER_FINISHED) player_.OnFinished();
  if (message == WM_PLAYER_CLOSED && playing_) {
    playing_ = false;
    if (Finished) Finished();
  }
}

QtAdvanceTimer::QtAdvanceTimer() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (Fired) Fired();
  });
}

}  // namespace tovak
