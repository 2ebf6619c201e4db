#include "video/video_export.h"

#include <QGuiApplication>
#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>

#include "audio/wav_reader.h"
#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "common/files.h"
#include "player/slideshow_package.h"
#include "video/mp4_encoder.h"
#include "video/slide_frames.h"
#include "video/voice_resampler.h"

namespace tovak {

namespace {

// Chosen by measuring a show of photos with spoken voices (bench/video-size). Nearly all of a
// slide's frames repeat its first, so the size is in the key frames every two seconds and the
// time in the fixed work per frame. "veryfast" with the still-picture tuning makes files under half
// of the fastest presets' size; its motion search and sub-pixel refinement, which find nothing
// in pictures that never move, are turned down, which cuts the time by a third and changes the
// size by nothing. For the same reason B-frames and a long look-ahead only cost, and the key
// frames at picture changes are set here rather than found by x264. Quality 26 keeps the stored
// pictures' own detail in a video smaller than the compact package; larger frames mostly
// magnify the stored pictures, so they take quality 28. Speech (tovak-bench-aac-speech): mono
// AAC-LC at 64 kbit/s stays within about a decibel of what an 8-bit recording holds, 48 kbit/s
// loses three and 32 kbit/s six, while 96 kbit/s gains the last decibel for half as much again.
Mp4Format ChosenFormat(int width, int height) {
  Mp4Format format;
  format.width = width;
  format.height = height;
  format.preset = "veryfast";
  format.tune = "stillimage";
  format.quality = width * height > 1280 * 720 ? 28 : 26;
  format.x264Params =
      "bframes=0:scenecut=0:rc-lookahead=5:ref=1:me=dia:subme=0:trellis=0:weightp=0";
  format.audioBitRate = 64000;
  return format;
}

// Progress is asked for this often, in frames, so a cancel takes effect at once.
constexpr int kProgressEvery = 5;

struct Slide {
  QString message;
  double voiceMs = 0;  // 0 without a voice
};

std::string Named(int index, const std::string& what) {
  return "picture " + std::to_string(index + 1) + ": " + what;
}

// The voice's WAV file, or nothing when there is none or it cannot be read (why says why).
std::vector<uint8_t> ReadVoice(SlideshowPackage& package, int index, WavInfo& info,
                               std::string& why) {
  try {
    std::vector<uint8_t> wav = package.ExpandVoice(index);
    if (wav.empty()) return {};
    info = ReadWavInfo(wav);
    if (info.dataSize < info.format.nBlockAlign) return {};
    return wav;
  } catch (const Exception& e) {
    why = e.Message();
    return {};
  }
}

class Exporter {
 public:
  Exporter(const std::string& packagePath, const std::string& outPath,
           const VideoExportOptions& options)
      : outPath_(outPath), options_(options), format_(ChosenFormat(options.width, options.height)) {
    package_.Open(packagePath);
    count_ = package_.Count();
    if (count_ <= 0) throw EVideoExportError(packagePath + ": the slideshow has no pictures");
  }

  VideoExportReport Run() {
    Plan();
    PendingFile file(outPath_);
    {
      Mp4Encoder encoder(file.Temporary(), outPath_, format_);
      for (int index = 0; index < count_; ++index) Encode(encoder, index);
      Progress(count_ - 1, starts_.back());
      encoder.Finish();
    }
    if (std::string error; !file.Commit(&error))
      throw EVideoExportError(outPath_ + ": cannot be written: " + error);
    std::error_code failed;
    report_.bytes = static_cast<int64_t>(std::filesystem::file_size(outPath_, failed));
    report_.durationMs = starts_.back() * 1000 / format_.framesPerSecond;
    return report_;
  }

 private:
  // Reads each slide's message and its voice's length, so the frames of the whole show are
  // known before the first is made.
  void Plan() {
    std::vector<double> lengths;
    for (int index = 0; index < count_; ++index) {
      Slide slide;
      try {
        slide.message = package_.Message(index);
      } catch (const Exception& e) {
        report_.warnings.push_back(Named(index, "its message cannot be read (" + e.Message() +
                                                    "); the video shows it without one"));
      }
      WavInfo info;
      std::string why;
      if (!ReadVoice(package_, index, info, why).empty()) {
        slide.voiceMs =
            1000.0 * double(info.dataSize / info.format.nBlockAlign) / info.format.nSamplesPerSec;
        ++report_.voices;
      } else if (!why.empty()) {
        report_.warnings.push_back(
            Named(index, "its voice cannot be used (" + why + "); the video shows it silent"));
      }
      lengths.push_back(SlideMs(slide.voiceMs, static_cast<size_t>(slide.message.size())));
      slides_.push_back(std::move(slide));
      Progress(index, 0);
    }
    starts_ = SlideFrameStarts(lengths, format_.framesPerSecond);
  }

  void Encode(Mp4Encoder& encoder, int index) {
    QImage picture;
    if (package_.HasPicture(index)) {
      picture = package_.Picture(index);
      if (picture.isNull())
        report_.warnings.push_back(Named(
            index, "its picture cannot be decoded; the video shows it black with its message"));
    }
    if (!picture.isNull()) ++report_.pictures;
    encoder.SetPicture(DrawSlideFrame(picture, slides_[size_t(index)].message,
                                      QSize(format_.width, format_.height),
                                      QGuiApplication::font()));
    picture = QImage();

    std::optional<VoiceResampler> voice;
    if (slides_[size_t(index)].voiceMs > 0) {
      WavInfo info;
      std::string why;
      std::vector<uint8_t> wav = ReadVoice(package_, index, info, why);
      if (!wav.empty()) {
        wav.resize(info.dataOffset + info.dataSize);
        wav.erase(wav.begin(), wav.begin() + static_cast<std::ptrdiff_t>(info.dataOffset));
        voice.emplace(std::move(wav), info.format, format_.sampleRate);
      }
    }
    // Each frame carries its own stretch of sound, so sound and pictures are written side by
    // side; after the voice the sound is silence.
    const size_t perFrame = size_t(format_.sampleRate / format_.framesPerSecond);
    std::vector<float> sound(perFrame);
    const int64_t first = starts_[size_t(index)];
    const int64_t end = starts_[size_t(index) + 1];
    for (int64_t frame = first; frame < end; ++frame) {
      if ((frame - first) % kProgressEvery == 0) Progress(index, frame);
      encoder.WriteFrame(frame == first);
      const size_t read = voice ? voice->Read(sound.data(), perFrame) : 0;
      std::fill(sound.begin() + static_cast<std::ptrdiff_t>(read), sound.end(), 0.0f);
      encoder.WriteSound(sound.data(), perFrame);
    }
  }

  void Progress(int index, int64_t frame) {
    if (!options_.progress) return;
    const int64_t frames = starts_.empty() ? 0 : starts_.back();
    const int percent = frames > 0 ? static_cast<int>(frame * 100 / frames) : 0;
    if (!options_.progress(index + 1, count_, percent))
      throw EVideoExportCancelled(outPath_ + ": the video was cancelled");
  }

  const std::string outPath_;
  const VideoExportOptions& options_;
  const Mp4Format format_;
  SlideshowPackage package_;
  int count_ = 0;
  std::vector<Slide> slides_;
  std::vector<int64_t> starts_;
  VideoExportReport report_;
};

}  // namespace

std::string VideoSizeProblem(int width, int height) {
  if (width % 2 != 0 || height % 2 != 0) return "both sides of a video must be even";
  if (width < 64 || height < 64) return "a video must be at least 64x64";
  if (width > 4096 || height > 4096 || H264Level(width, height, 25) == 0)
    return "a video can be at most 4096 wide or high and 4096x2304 in all";
  return {};
}

VideoExportReport ExportVideoSlideshow(const std::string& packagePath, const std::string& outPath,
                                       const VideoExportOptions& options) {
  if (const std::string problem = VideoSizeProblem(options.width, options.height); !problem.empty())
    throw EVideoExportError(std::to_string(options.width) + "x" + std::to_string(options.height) +
                            ": " + problem);
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw EVideoExportError("the slides cannot be drawn without a QGuiApplication");
  if (SameFile(packagePath, outPath))
    throw EVideoExportError(outPath + ": is the slideshow itself; choose another name");
  if (const std::string problem = OutputTargetProblem(outPath); !problem.empty())
    throw EVideoExportError(outPath + ": " + problem);
  // Running out of memory fails this video, not the program that asked for it.
  try {
    return Exporter(packagePath, outPath, options).Run();
  } catch (const std::bad_alloc&) {
    throw EVideoExportError(outPath + ": not enough memory to make the video");
  }
}

}  // namespace tovak
