#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace tovak::testing {

// A video file as FFmpeg reads it back, for checking what an export wrote.
struct Mp4Contents {
  std::string container;  // the demuxer's names
  double seconds = 0;     // the file's duration
  struct Video {
    std::string codec, pixelFormat;
    int width = 0, height = 0, profile = 0;
    double framesPerSecond = 0;
    std::vector<double> keyFrames;  // seconds
    int count = 0;                  // of streams of this kind
  } video;
  struct Audio {
    std::string codec;
    int channels = 0, rate = 0, profile = 0, count = 0;
    std::vector<float> samples;  // the first channel, decoded
  } audio;
  // Decoded pictures at the times asked for, as RGB.
  std::vector<QImage> frames;
};

// Reads path, decoding the frame shown at each of frameTimes (seconds) and all the sound.
// Fails the test on a file FFmpeg cannot read.
Mp4Contents ReadMp4(const std::string& path, const std::vector<double>& frameTimes);

// The strength of frequency (Hz) in samples[from, to) at rate, from 0 to about 1 for a full
// sine.
double ToneStrength(const std::vector<float>& samples, int rate, double from, double to,
                    double frequency);
// The loudest sample in [from, to) seconds.
double Peak(const std::vector<float>& samples, int rate, double from, double to);

}  // namespace tovak::testing
