// The wave device layer on Qt Multimedia. Capture runs in pull mode with a small device buffer so
// that recording starts promptly; playback is pushed from a timer, and a buffer counts as played
// only when the device has played past its last byte.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <vector>

#include "audio/wave_device.h"

namespace tovak {

namespace {

QAudioFormat ToQt(const TWaveFormatEx& f) {
  QAudioFormat format;
  format.setSampleRate(static_cast<int>(f.nSamplesPerSec));
  format.setChannelCount(f.nChannels);
  format.setSampleFormat(f.wBitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
  return format;
}

// Device 0 is the system's default, as the classic interfaces put the preferred device first.
QList<QAudioDevice> Ordered(QList<QAudioDevice> devices, const QAudioDevice& preferred) {
  for (qsizetype i = 0; i < devices.size(); ++i) {
    if (devices[i] == preferred) {
      devices.move(i, 0);
      break;
    }
  }
  return devices;
}

QList<QAudioDevice> Inputs() {
  return Ordered(QMediaDevices::audioInputs(), QMediaDevices::defaultAudioInput());
}
QList<QAudioDevice> Outputs() {
  return Ordered(QMediaDevices::audioOutputs(), QMediaDevices::defaultAudioOutput());
}

int Caps(const QList<QAudioDevice>& devices, unsigned index, WaveCaps& caps) {
  if (index >= static_cast<unsigned>(devices.size())) return WAVERR_BADDEVICEID;
  const QAudioDevice& device = devices[index];
  QAudioFormat probe;
  probe.setSampleRate(11025);
  probe.setChannelCount(1);
  probe.setSampleFormat(QAudioFormat::UInt8);
  caps.name = device.description().toStdString();
  caps.supports11kMono8 = device.isFormatSupported(probe);
  caps.channels = static_cast<uint16_t>(std::clamp(device.maximumChannelCount(), 1, 2));
  return WAVERR_NONE;
}

// The last sink a device stopped, when the device goes away before a later opening proved it
// answered: the sound server's thread may still write to it, so it lives as long as the process.
void Abandon(std::unique_ptr<QAudioSink> sink) {
  static auto* abandoned = new std::vector<std::unique_ptr<QAudioSink>>;
  abandoned->push_back(std::move(sink));
}

qsizetype PromptBufferBytes(const TWaveFormatEx& format) {
  // About 50 ms: long enough not to starve, short enough to start and stop promptly.
  return std::max<qsizetype>(format.nAvgBytesPerSec / 20, 512);
}

class QtWaveIn : public WaveInDevice {
 public:
  ~QtWaveIn() override { Close(); }

  unsigned GetNumDevs() override { return static_cast<unsigned>(Inputs().size()); }
  int GetDevCaps(unsigned device, WaveCaps& caps) override { return Caps(Inputs(), device, caps); }

  int Open(unsigned device, const TWaveFormatEx& format, WaveCallback callback) override {
    if (source_) return WAVERR_ALLOCATED;
    const QList<QAudioDevice> devices = Inputs();
    if (device >= static_cast<unsigned>(devices.size())) return WAVERR_BADDEVICEID;
    const QAudioFormat qtFormat = ToQt(format);
    if (!devices[device].isFormatSupported(qtFormat)) return WAVERR_BADFORMAT;
    source_ = std::make_unique<QAudioSource>(devices[device], qtFormat);
    failed_ = false;
    source_->setBufferSize(PromptBufferBytes(format));
    QObject::connect(source_.get(), &QAudioSource::stateChanged, source_.get(),
                     [this](QAudio::State state) { OnState(state); });
    callback_ = std::move(callback);
    callback_(WaveMessage::Open, nullptr);
    return WAVERR_NONE;
  }

  int PrepareHeader(WaveHeader* header) override { return PrepareWaveHeader(header); }

  int AddBuffer(WaveHeader* header) override {
    if (!source_) return WAVERR_INVALHANDLE;
    if (failed_) return WAVERR_DEVICEFAILED;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    header->dwBytesRecorded = 0;
    queue_.push_back(header);
    if (io_) Pump();
    return WAVERR_NONE;
  }

  int Start() override {
    if (!source_) return WAVERR_INVALHANDLE;
    if (io_) return WAVERR_NONE;
    io_ = source_->start();
    if (!io_ || source_->error() != QAudio::NoError) {
      io_ = nullptr;
      return WAVERR_NOTENABLED;
    }
    QObject::connect(io_, &QIODevice::readyRead, source_.get(), [this] { Pump(); });
    return WAVERR_NONE;
  }

  int Stop() override {
    if (!source_) return WAVERR_INVALHANDLE;
    if (io_) {
      // Stopping the source drops what it still holds: take it first.
      Pump();
      source_->stop();
      io_ = nullptr;
    }
    if (!queue_.empty() && queue_.front()->dwBytesRecorded > 0) GiveBack();
    return WAVERR_NONE;
  }

  int Reset() override {
    if (!source_) return WAVERR_INVALHANDLE;
    Stop();
    while (!queue_.empty()) GiveBack();
    return WAVERR_NONE;
  }

  int UnprepareHeader(WaveHeader* header) override { return UnprepareWaveHeader(header); }

  int Close() override {
    if (!source_) return WAVERR_INVALHANDLE;
    if (!queue_.empty()) return WAVERR_STILLPLAYING;
    source_->disconnect();
    if (io_) source_->stop();
    io_ = nullptr;
    source_.reset();
    WaveCallback callback = std::move(callback_);
    callback_ = nullptr;
    if (callback) callback(WaveMessage::Close, nullptr);
    return WAVERR_NONE;
  }

 private:
  void Pump() {
    while (io_ && !queue_.empty()) {
      WaveHeader* header = queue_.front();
      const qint64 room = header->dwBufferLength - header->dwBytesRecorded;
      const qint64 got =
          io_->read(reinterpret_cast<char*>(header->lpData) + header->dwBytesRecorded, room);
      if (got <= 0) break;
      header->dwBytesRecorded += static_cast<uint32_t>(got);
      if (header->dwBytesRecorded == header->dwBufferLength) GiveBack();
    }
  }

  void GiveBack() {
    WaveHeader* header = queue_.front();
    queue_.pop_front();
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    if (callback_) callback_(WaveMessage::Data, header);
  }

  // A device that goes away mid-recording: everything captured is handed back and the device
  // reports itself closed, so the recording ends with what it has.
  void OnState(QAudio::State state) {
    if (state != QAudio::StoppedState || !io_ || source_->error() == QAudio::NoError) return;
    io_ = nullptr;
    failed_ = true;
    if (callback_) callback_(WaveMessage::Lost, nullptr);
    while (!queue_.empty()) GiveBack();
    QTimer::singleShot(0, source_.get(), [this] { Close(); });
  }

  std::unique_ptr<QAudioSource> source_;
  QIODevice* io_ = nullptr;
  std::deque<WaveHeader*> queue_;
  WaveCallback callback_;
  bool failed_ = false;
};

class QtWaveOut : public WaveOutDevice {
 public:
  ~QtWaveOut() override {
    Reset();
    Close();
    if (stopped_) Abandon(std::move(stopped_));
  }

  unsigned GetNumDevs() override { return static_cast<unsigned>(Outputs().size()); }
  int GetDevCaps(unsigned device, WaveCaps& caps) override { return Caps(Outputs(), device, caps); }

  int Open(unsigned device, const TWaveFormatEx& format, WaveCallback callback) override {
    if (sink_) return WAVERR_ALLOCATED;
    const QList<QAudioDevice> devices = Outputs();
    if (device >= static_cast<unsigned>(devices.size())) return WAVERR_BADDEVICEID;
    const QAudioFormat qtFormat = ToQt(format);
    if (!devices[device].isFormatSupported(qtFormat)) return WAVERR_BADFORMAT;
    sink_ = std::make_unique<QAudioSink>(devices[device], qtFormat);
    sink_->setBufferSize(PromptBufferBytes(format) * 2);
    sink_->setVolume(volume_);
    bytesPerSecond_ = format.nAvgBytesPerSec;
    io_ = sink_->start();
    if (!io_) {
      sink_.reset();
      return WAVERR_NOTENABLED;
    }
    written_ = 0;
    failed_ = false;
    paused_ = false;
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                     [this](QAudio::State state) {
                       if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError)
                         Lose();
                     });
    timer_ = std::make_unique<QTimer>();
    timer_->setInterval(10);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { Pump(); });
    timer_->start();
    callback_ = std::move(callback);
    callback_(WaveMessage::Open, nullptr);
    return WAVERR_NONE;
  }

  int PrepareHeader(WaveHeader* header) override { return PrepareWaveHeader(header); }

  int Write(WaveHeader* header) override {
    if (!sink_) return WAVERR_INVALHANDLE;
    if (failed_) return WAVERR_DEVICEFAILED;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    header->dwBytesRecorded = 0;  // bytes handed to the device so far
    queue_.push_back({header, -1});
    return WAVERR_NONE;
  }

  int Pause() override {
    if (!sink_) return WAVERR_INVALHANDLE;
    paused_ = true;
    sink_->suspend();
    return WAVERR_NONE;
  }

  int Restart() override {
    if (!sink_) return WAVERR_INVALHANDLE;
    paused_ = false;
    sink_->resume();
    stallClock_.invalidate();
    Pump();
    return WAVERR_NONE;
  }

  int SetVolume(float volume) override {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (sink_) sink_->setVolume(volume_);
    return WAVERR_NONE;
  }

  int Reset() override {
    if (!sink_) return WAVERR_INVALHANDLE;
    timer_->stop();
    if (!failed_) sink_->reset();
    io_ = nullptr;
    while (!queue_.empty()) GiveBack();
    return WAVERR_NONE;
  }

  int UnprepareHeader(WaveHeader* header) override { return UnprepareWaveHeader(header); }

  int Close() override {
    if (!sink_) return WAVERR_INVALHANDLE;
    if (!queue_.empty()) return WAVERR_STILLPLAYING;
    timer_.reset();
    sink_->disconnect();
    // A failed sink too: one that stalled still has its stream, and only stop() takes it away
    // before the sink is put aside (one whose server died is stopped already).
    sink_->stop();
    // The server answered this sink's opening, so it has answered every request about the one
    // stopped before: that one goes now, where a stopped sink always went, and this one waits
    // for the next opening (see stopped_).
    stopped_ = std::move(sink_);
    io_ = nullptr;
    WaveCallback callback = std::move(callback_);
    callback_ = nullptr;
    if (callback) callback(WaveMessage::Close, nullptr);
    return WAVERR_NONE;
  }

 private:
  struct Queued {
    WaveHeader* header;
    qint64 end;  // the device's byte count once this buffer is written; -1 until then
  };

  void Pump() {
    if (!sink_ || !io_ || paused_ || failed_) return;
    // Hand over what the device has room for, buffer by buffer, in order.
    for (Queued& q : queue_) {
      WaveHeader* h = q.header;
      while (h->dwBytesRecorded < h->dwBufferLength) {
        const qint64 room = sink_->bytesFree();
        if (room <= 0) break;
        const qint64 n = std::min<qint64>(room, h->dwBufferLength - h->dwBytesRecorded);
        const qint64 put =
            io_->write(reinterpret_cast<const char*>(h->lpData) + h->dwBytesRecorded, n);
        if (put <= 0) break;
        h->dwBytesRecorded += static_cast<uint32_t>(put);
        written_ += put;
      }
      if (h->dwBytesRecorded < h->dwBufferLength) break;
      if (q.end < 0) q.end = written_;
    }
    // A buffer has played when the device has played past its end (give or take a few
    // milliseconds of rounding), or when the device has run dry with everything handed over.
    const qint64 slack = bytesPerSecond_ / 200;
    const qint64 played = sink_->processedUSecs() * bytesPerSecond_ / 1000000 + slack;
    const bool allWritten = !queue_.empty() && queue_.back().end >= 0;
    const bool drained = allWritten && sink_->state() == QAudio::IdleState;
    while (!queue_.empty() && queue_.front().end >= 0 &&
           (played >= queue_.front().end || drained)) {
      GiveBack();
    }
    WatchProgress();
  }

  // A sink whose server has gone may never say so: it just stops playing. Sound handed over
  // that makes no progress for a while, when not paused, counts as a lost device. A server that
  // dies is reported by the sink at once; this only catches one that hangs. A sink can sit still
  // for almost two seconds after its first few milliseconds before it really starts (measured on
  // a null sink that a recording has just used), so the early wait is long; once sound flows
  // the wait is short.
  void WatchProgress() {
    const qint64 processed = sink_->processedUSecs();
    if (queue_.empty() || written_ == 0 || processed != lastProcessed_ || !stallClock_.isValid()) {
      lastProcessed_ = processed;
      stallClock_.start();
      return;
    }
    const qint64 wait = processed >= kSteadyUSecs ? kStallMs : kStartStallMs;
    if (stallClock_.elapsed() >= wait) Lose();
  }

  // Every queued buffer comes back at once, and the device takes no more; the owner closes it.
  void Lose() {
    if (failed_) return;
    failed_ = true;
    if (timer_) timer_->stop();
    if (callback_) callback_(WaveMessage::Lost, nullptr);
    while (!queue_.empty()) GiveBack();
  }

  static constexpr qint64 kSteadyUSecs = 500000;
  static constexpr qint64 kStallMs = 1000;
  static constexpr qint64 kStartStallMs = 3000;

  void GiveBack() {
    WaveHeader* header = queue_.front().header;
    queue_.pop_front();
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    if (callback_) callback_(WaveMessage::Data, header);
  }

  std::unique_ptr<QAudioSink> sink_;
  // Qt's PulseAudio sink asks the server to drain its stream whenever the stream runs dry, as
  // at the end of every sound, and gives the server its own address for the answer. Stopping
  // the sink does not withdraw the request: the answer can still come, on the sound server's
  // thread, after stop() has returned, and a sink deleted by then is written to after its
  // death (a crash in that thread, seen once at the end of a Listen). The server answers in
  // order and start() waits for its answer, so the stopped sink is kept until the next sink
  // has started.
  std::unique_ptr<QAudioSink> stopped_;
  std::unique_ptr<QTimer> timer_;
  QIODevice* io_ = nullptr;
  std::deque<Queued> queue_;
  WaveCallback callback_;
  qint64 written_ = 0;
  qint64 bytesPerSecond_ = 1;
  float volume_ = 1;
  qint64 lastProcessed_ = -1;
  QElapsedTimer stallClock_;
  bool paused_ = false;
  bool failed_ = false;
};

}  // namespace

std::string WaveErrorText(int code) {
  switch (code) {
    case WAVERR_NONE:
      return "The operation completed successfully.";
    case WAVERR_BADDEVICEID:
      return "The device number is out of range.";
    case WAVERR_NOTENABLED:
      return "The sound device could not be started.";
    case WAVERR_ALLOCATED:
      return "The sound device is already in use.";
    case WAVERR_INVALHANDLE:
      return "The sound device is not open.";
    case WAVERR_NODRIVER:
      return "There is no sound device.";
    case WAVERR_NOMEM:
      return "There is not enough memory for the sound device.";
    case WAVERR_BADFORMAT:
      return "The sound device cannot handle this sound format.";
    case WAVERR_STILLPLAYING:
      return "Buffers are still queued on the sound device.";
    case WAVERR_UNPREPARED:
      return "A buffer was not prepared.";
    case WAVERR_DEVICEFAILED:
      return "The sound device stopped with an error.";
    default:
      return "Unknown sound device error " + std::to_string(code) + ".";
  }
}

std::unique_ptr<WaveInDevice> MakeQtWaveIn() {
  return std::make_unique<QtWaveIn>();
}
std::unique_ptr<WaveOutDevice> MakeQtWaveOut() {
  return std::make_unique<QtWaveOut>();
}

}  // namespace tovak
