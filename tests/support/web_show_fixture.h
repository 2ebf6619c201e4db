#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav_stream.h"
#include "components/jpeg_codec.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak::testing {

// Builds real slideshow packages with tovak-cli from pictures, messages and voices made here.
// Voices are recorded the way the editor records them: 8 bits, 44.1 kHz, stereo.
class WebShowFixture {
 public:
  struct Slide {
    std::string message;      // "" for none
    double voiceSeconds = 0;  // 0 for none
    int width = 640, height = 480;
  };

  // The package path; fails the test (through output) when the build fails.
  std::string Build(const std::vector<Slide>& slides, const std::string& mode = "compact") {
    std::string command = "env XDG_CONFIG_HOME=" + Quote(dir.File("cfg")) + " " + TOVAK_CLI_PATH +
                          " build --mode " + mode + " -o " + Quote(dir.File("show.exe"));
    for (size_t i = 0; i < slides.size(); ++i) {
      const std::string stem = dir.File("slide" + std::to_string(100 + i));
      WriteBytes(stem + ".jpg", EncodeJpeg(PhotoLike(slides[i].width, slides[i].height), 85));
      if (!slides[i].message.empty())
        WriteBytes(stem + ".txt", {slides[i].message.begin(), slides[i].message.end()});
      if (slides[i].voiceSeconds > 0) WriteVoice(stem + ".wav", slides[i].voiceSeconds);
      command += " " + Quote(stem + ".jpg");
    }
    const CommandResult run = RunCommand(command);
    buildOutput = run.output;
    return run.status == 0 ? dir.File("show.exe") : std::string();
  }

  // A spoken-like sound: a wandering pitch with a syllable rhythm.
  static void WriteVoice(const std::string& path, double seconds) {
    constexpr int kRate = 44100;
    std::vector<uint8_t> samples;
    const auto frames = static_cast<size_t>(std::lround(seconds * kRate));
    for (size_t i = 0; i < frames; ++i) {
      const double t = double(i) / kRate;
      const double syllable = 0.5 + 0.5 * std::sin(2 * M_PI * 4 * t);
      const double pitch = 140 + 30 * std::sin(2 * M_PI * 0.7 * t);
      const double wave = std::sin(2 * M_PI * pitch * t) + 0.4 * std::sin(6 * M_PI * pitch * t);
      const auto value = static_cast<uint8_t>(std::lround(128 + 60 * syllable * wave / 1.4));
      samples.push_back(value);
      samples.push_back(value);
    }
    TWavStream wav;
    wav.SetFormat(TWaveFormatEx::Pcm(kRate, 2, 8));
    wav.Write(samples.data(), static_cast<int64_t>(samples.size()));
    wav.SaveToFile(path);
  }

  TempDir dir;
  std::string buildOutput;
};

}  // namespace tovak::testing
