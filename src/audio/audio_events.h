#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <functional>

#include "audio/voice_io.h"

namespace tovak {

static_assert(kUserEvent == QEvent::User);

// Receives the recorder's and player's notifications as posted events on its thread, as a
// window would, and hands each to a handler.
class AudioEventReceiver : public QObject {
 public:
  explicit AudioEventReceiver(std::function<void(int message)> handler)
      : handler_(std::move(handler)) {}

  // Posts a notification to this receiver; safe from any thread.
  PostMessage Poster() {
    return [this](int message) {
      QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(message)));
    };
  }

 protected:
  bool event(QEvent* event) override {
    const int type = event->type();
    if (type >= WM_RECORDER_OPENED && type <= WM_PLAYER_FINISHED) {
      handler_(type);
      return true;
    }
    return QObject::event(event);
  }

 private:
  std::function<void(int)> handler_;
};

}  // namespace tovak
