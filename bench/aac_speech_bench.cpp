// Measures what AAC bit rate a recorded voice needs in the video: a voice-like sound (a
// wandering voiced pitch in syllables, with breath noise) is recorded at 8 bits as the editor
// does, written into a small video at a range of bit rates, decoded again and compared with the
// voiced sound alone. The recording's own distance from it (breath and 8-bit steps) is the
// floor no rate can go below; a rate near it loses nothing the recording had.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "video/mp4_encoder.h"
#include "video/mp4_reading.h"

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 20;

double Snr(const std::vector<double>& clean, const std::vector<float>& heard, size_t lag) {
  double signal = 0, noise = 0;
  for (size_t i = kRate / 2; i + lag < heard.size() && i < clean.size() - kRate / 2; ++i) {
    signal += clean[i] * clean[i];
    noise += (heard[i + lag] - clean[i]) * (heard[i + lag] - clean[i]);
  }
  return 10 * std::log10(signal / std::max(noise, 1e-12));
}

}  // namespace

int main() {
  std::mt19937 random(7);
  std::normal_distribution<double> hiss(0, 1);
  std::vector<double> clean;
  std::vector<float> recorded;
  for (int i = 0; i < int(kRate * kSeconds); ++i) {
    const double t = double(i) / kRate;
    const double syllable = std::pow(std::max(0.0, std::sin(2 * M_PI * 3.3 * t)), 0.7);
    const double pitch = 150 + 40 * std::sin(2 * M_PI * 0.4 * t);
    double voiced = 0;
    for (int k = 1; k < 8; ++k) voiced += std::sin(2 * M_PI * k * pitch * t) / k;
    const double value = 40 * syllable * voiced / 2.6 + (0.5 + syllable) * hiss(random);
    // The breath is part of the recording, not of what is to be understood.
    clean.push_back(40 * syllable * voiced / 2.6 / 128);
    recorded.push_back(float(std::lround(std::clamp(value, -128.0, 127.0))) / 128);
  }
  std::vector<float> floorCopy(recorded.begin(), recorded.end());
  std::printf("8-bit recording: %.1f dB from the clean sound\n", Snr(clean, floorCopy, 0));
  const std::string path = (std::filesystem::temp_directory_path() / "aac-speech.mp4").string();
  QImage black(64, 64, QImage::Format_RGB32);
  black.fill(Qt::black);
  for (const int kbps : {32, 48, 64, 96, 128}) {
    tovak::Mp4Format format;
    format.width = format.height = 64;
    format.audioBitRate = kbps * 1000;
    const auto start = std::chrono::steady_clock::now();
    {
      tovak::Mp4Encoder encoder(path, path, format);
      encoder.SetPicture(black);
      const size_t perFrame = kRate / format.framesPerSecond;
      for (size_t at = 0; at + perFrame <= recorded.size(); at += perFrame) {
        encoder.WriteFrame(at % (perFrame * 50) == 0);
        encoder.WriteSound(recorded.data() + at, perFrame);
      }
      encoder.Finish();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const tovak::testing::Mp4Contents read = tovak::testing::ReadMp4(path, {});
    // The decoder should line the sound up; a lag left by the encoder's delay is found on a
    // short stretch first.
    size_t lag = 0;
    double closest = 1e300;
    for (size_t k = 0; k < 4096; ++k) {
      double distance = 0;
      for (size_t i = kRate; i < kRate + kRate / 4 && i + k < read.audio.samples.size(); ++i)
        distance += std::pow(read.audio.samples[i + k] - clean[i], 2);
      if (distance < closest) closest = distance, lag = k;
    }
    const double best = Snr(clean, read.audio.samples, lag);
    std::printf("%3d kbit/s: %.1f dB from the clean sound, %.0f KB a minute, made in %.2f s\n",
                kbps, best, double(std::filesystem::file_size(path)) / 1024 * 60 / kSeconds,
                seconds);
  }
  std::filesystem::remove(path);
}
