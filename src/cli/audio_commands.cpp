#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "audio/audio_events.h"
#include "audio/voice_player.h"
#include "audio/voice_recorder.h"
#include "audio/wav_stream.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"

namespace tovak::cli {

namespace {

// Qt's sound devices need an application object and its event loop.
std::unique_ptr<QCoreApplication> MakeApplication() {
  static int argc = 1;
  static char name[] = "tovak-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int RunRecord(const Arguments& arguments) {
  CommandLine line;
  if (!ParseCommandLine(arguments, {}, line)) return 2;
  const Arguments& args = line.operands;
  int32_t seconds = 0;
  if (args.size() != 2 || !ParseNumber(args[0], 1, 3600, seconds)) {
    return UsageError("usage: tovak-cli record SECONDS OUT.wav");
  }
  const std::string out = args[1];
  // Refused now, not after the take: a folder that is missing or cannot be written.
  if (const std::string problem = OutputProblem(out); !problem.empty()) return Fail(problem);
  auto app = MakeApplication();
  std::unique_ptr<WaveInDevice> device = MakeQtWaveIn();
  WaveBuffers buffers;
  TMemoryStream recording;
  int status = 0;
  std::unique_ptr<VoiceRecorder> recorder;
  QTimer poll;
  QElapsedTimer sinceStart;
  // Ctrl-C (or a hang-up, a termination) ends the take early; what was recorded is saved.
  QTimer watch;
  QElapsedTimer sinceSignal;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!InterruptSignal()) return;
    if (!sinceSignal.isValid()) {
      sinceSignal.start();
      poll.stop();
      recorder->RequestStop();
    } else if (sinceSignal.elapsed() > 5000) {
      // A device that never answers the stop cannot hold the command.
      status = InterruptedStatus();
      QCoreApplication::quit();
    }
  });
  watch.start(50);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!sinceStart.isValid()) sinceStart.start();
    const int64_t wanted = int64_t{seconds} * recorder->RecordingFormat.nAvgBytesPerSec;
    // A device that delivers too slowly or not at all is stopped a little after the time asked.
    if (recording.Size() >= wanted || sinceStart.elapsed() > seconds * 1000 + 5000) {
      poll.stop();
      recorder->RequestStop();
    }
  });
  AudioEventReceiver receiver([&](int message) {
    switch (message) {
      case WM_RECORDER_OPENED:
        // The sound server takes a moment to deliver the first sound; count from there, so the
        // file holds the seconds asked for.
        poll.start(20);
        break;
      case WM_RECORDER_DRAIN:
        recorder->OnDrain();
        break;
      case WM_RECORDER_CLOSED: {
        poll.stop();
        const TWaveFormatEx& format = recorder->RecordingFormat;
        // The stop keeps the part of a buffer recorded past the time asked for; it is cut off.
        const int64_t wanted = int64_t{seconds} * format.nAvgBytesPerSec;
        if (recording.Size() > wanted) recording.SetSize(wanted);
        const double kept = double(recording.Size()) / format.nAvgBytesPerSec;
        try {
          // A take cut short by a lost device is still the user's voice: it is saved.
          TWavStream wav;
          wav.SetFormat(format);
          wav.LoadFromStream(recording);
          wav.SaveToFile(out);
          if (InterruptSignal()) {
            std::printf("%s: %.1f s of %u Hz, %u channel(s), 8-bit sound (stopped early)\n",
                        out.c_str(), kept, format.nSamplesPerSec, format.nChannels);
            status = InterruptedStatus();
          } else if (recorder->DeviceLost) {
            char text[128];
            std::snprintf(text, sizeof text, "%.1f s of %d s saved", kept, int(seconds));
            status = Fail(out + ": the sound device was lost; " + text);
          } else {
            std::printf("%s: %.1f s of %u Hz, %u channel(s), 8-bit sound\n", out.c_str(), kept,
                        format.nSamplesPerSec, format.nChannels);
          }
        } catch (const Exception& e) {
          // The stream's words name the file again; the command line names it once.
          std::string reason = e.Message();
          if (const size_t at = reason.rfind("\": "); at != std::string::npos)
            reason = "cannot be written: " + reason.substr(at + 3);
          status = Fail(out + ": " + reason);
        }
        QCoreApplication::quit();
        break;
      }
    }
  });
  recorder = std::make_unique<VoiceRecorder>(*device, buffers, recording, receiver.Poster());
  if (!recorder->Record()) return Fail(out + ": " + recorder->DeviceError);
  app->exec();
  recorder.reset();
  return status;
}

int RunPlay(const Arguments& arguments) {
  CommandLine line;
  if (!ParseCommandLine(arguments, {}, line)) return 2;
  const Arguments& args = line.operands;
  if (args.size() != 1) return UsageError("usage: tovak-cli play FILE.wav");
  if (const std::string problem = InputProblem(args[0]); !problem.empty()) return Fail(problem);
  auto app = MakeApplication();
  std::unique_ptr<WaveOutDevice> device = MakeQtWaveOut();
  WaveBuffers buffers;
  TMemoryStream sound;
  std::unique_ptr<VoicePlayer> player;
  AudioEventReceiver receiver([&](int message) {
    if (message == WM_PLAYER_FINISHED) player->OnFinished();
    if (message == WM_PLAYER_CLOSED) QCoreApplication::quit();
  });
  player = std::make_unique<VoicePlayer>(*device, buffers, sound, receiver.Poster());
  if (!player->Listen(args[0])) return Fail(args[0] + ": " + player->DeviceError);
  app->exec();
  if (player->DeviceLost) return Fail(args[0] + ": the sound device was lost");
  return 0;
}

}  // namespace tovak::cli
