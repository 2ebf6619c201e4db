#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "video/av_handles.h"

namespace tovak {

// What the video is made of; the export's choices are in video_export.cpp.
struct Mp4Format {
  int width = 1280;
  int height = 720;
  int framesPerSecond = 25;
  int keyFrameEvery = 50;  // frames; seeking lands on a key frame at most this far back
  std::string preset = "veryfast";
  std::string tune = "stillimage";
  double quality = 23;     // x264's constant rate factor: lower is better and larger
  std::string x264Params;  // more of x264's own settings, "name=value:..."
  int sampleRate = 44100;
  int64_t audioBitRate = 64000;
};

// Writes an MP4 file of one H.264 stream (High profile, yuv420p, constant frame rate) and one
// mono AAC-LC stream, with its index at the front so it plays while it downloads. Frames are
// sent as they are made and the sound beside them, so what is held never grows with the video.
// Every call throws EVideoExportError on failure; the file is then unfinished, for its owner
// to remove.
class Mp4Encoder {
 public:
  // Writes to path; errors name the file name instead, the name the user knows it by.
  Mp4Encoder(const std::string& path, const std::string& name, const Mp4Format& format);
  Mp4Encoder(const Mp4Encoder&) = delete;
  Mp4Encoder& operator=(const Mp4Encoder&) = delete;

  // The picture of the frames that follow, 32-bit RGB at the video's size.
  void SetPicture(const QImage& image);
  // One frame of the current picture; a key frame when key.
  void WriteFrame(bool key);
  // Sound that follows what was written so far: mono samples from -1 to 1 at the sample rate.
  void WriteSound(const float* samples, size_t count);
  // Sends what the encoders still hold and completes the file.
  void Finish();

 private:
  void OpenVideo(const Mp4Format& format);
  void OpenAudio(const Mp4Format& format);
  // A stream of the file for an opened encoder, with its parameters.
  AVStream* AddStream(const AVCodecContext& codec, const char* what);
  void SendSound(int count);
  // Hands frame (null to drain) to an encoder and writes the packets it gives back.
  void Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);

  std::string name_;
  av::Output output_;
  av::Codec video_;
  av::Codec audio_;
  AVStream* videoStream_ = nullptr;
  AVStream* audioStream_ = nullptr;
  av::Scale scale_;
  av::Frame picture_;
  av::Frame sound_;
  av::Packet packet_;
  std::vector<float> pendingSound_;
  int64_t nextFrame_ = 0;
  int64_t nextSample_ = 0;
  bool finished_ = false;
};

// The H.264 level for frames of this size at this rate: the lowest whose frame size and
// macroblock rate take it; 0 when none does.
int H264Level(int width, int height, int framesPerSecond);

}  // namespace tovak
