#include "video/mp4_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace tovak::testing {

namespace {

struct Decoder {
  AVCodecContext* context = nullptr;
  ~Decoder() { avcodec_free_context(&context); }
};

Decoder Open(const AVStream* stream) {
  Decoder decoder;
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  decoder.context = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(decoder.context, stream->codecpar);
  EXPECT_GE(avcodec_open2(decoder.context, codec, nullptr), 0);
  return decoder;
}

QImage ToImage(const AVFrame* frame) {
  QImage image(frame->width, frame->height, QImage::Format_RGB888);
  SwsContext* scale =
      sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                     frame->height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  uint8_t* planes[] = {image.bits()};
  const int strides[] = {static_cast<int>(image.bytesPerLine())};
  sws_scale(scale, frame->data, frame->linesize, 0, frame->height, planes, strides);
  sws_freeContext(scale);
  return image;
}

}  // namespace

Mp4Contents ReadMp4(const std::string& path, const std::vector<double>& frameTimes) {
  Mp4Contents contents;
  AVFormatContext* input = nullptr;
  if (avformat_open_input(&input, path.c_str(), nullptr, nullptr) < 0) {
    ADD_FAILURE() << path << " cannot be read";
    return contents;
  }
  avformat_find_stream_info(input, nullptr);
  contents.container = input->iformat->name;
  contents.seconds = double(input->duration) / AV_TIME_BASE;
  int videoIndex = -1, audioIndex = -1;
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVCodecParameters* p = input->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_VIDEO) {
      ++contents.video.count;
      videoIndex = int(i);
      contents.video.codec = avcodec_get_name(p->codec_id);
      contents.video.width = p->width;
      contents.video.height = p->height;
      contents.video.profile = p->profile;
      const char* name = av_get_pix_fmt_name(AVPixelFormat(p->format));
      contents.video.pixelFormat = name ? name : "";
      contents.video.framesPerSecond = av_q2d(input->streams[i]->avg_frame_rate);
    } else if (p->codec_type == AVMEDIA_TYPE_AUDIO) {
      ++contents.audio.count;
      audioIndex = int(i);
      contents.audio.codec = avcodec_get_name(p->codec_id);
      contents.audio.channels = p->ch_layout.nb_channels;
      contents.audio.rate = p->sample_rate;
      contents.audio.profile = p->profile;
    }
  }
  if (videoIndex < 0 || audioIndex < 0) {
    avformat_close_input(&input);
    return contents;
  }
  const AVStream* videoStream = input->streams[videoIndex];
  const AVStream* audioStream = input->streams[audioIndex];
  Decoder video = Open(videoStream);
  Decoder audio = Open(audioStream);
  contents.frames.resize(frameTimes.size());
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  auto drain = [&](Decoder& decoder, bool isVideo) {
    while (avcodec_receive_frame(decoder.context, frame) >= 0) {
      if (isVideo) {
        const double at = double(frame->best_effort_timestamp) * av_q2d(videoStream->time_base);
        for (size_t k = 0; k < frameTimes.size(); ++k)
          if (contents.frames[k].isNull() && std::abs(at - frameTimes[k]) < 0.02)
            contents.frames[k] = ToImage(frame);
      } else {
        const auto* samples = reinterpret_cast<const float*>(frame->data[0]);
        contents.audio.samples.insert(contents.audio.samples.end(), samples,
                                      samples + frame->nb_samples);
      }
      av_frame_unref(frame);
    }
  };
  while (av_read_frame(input, packet) >= 0) {
    if (packet->stream_index == videoIndex) {
      if (packet->flags & AV_PKT_FLAG_KEY)
        contents.video.keyFrames.push_back(double(packet->pts) * av_q2d(videoStream->time_base));
      avcodec_send_packet(video.context, packet);
      drain(video, true);
    } else if (packet->stream_index == audioIndex) {
      avcodec_send_packet(audio.context, packet);
      drain(audio, false);
    }
    av_packet_unref(packet);
  }
  avcodec_send_packet(video.context, nullptr);
  drain(video, true);
  avcodec_send_packet(audio.context, nullptr);
  drain(audio, false);
  std::sort(contents.video.keyFrames.begin(), contents.video.keyFrames.end());
  av_frame_free(&frame);
  av_packet_free(&packet);
  avformat_close_input(&input);
  return contents;
}

double ToneStrength(const std::vector<float>& samples, int rate, double from, double to,
                    double frequency) {
  const auto begin = static_cast<size_t>(from * rate);
  const auto end = std::min(samples.size(), static_cast<size_t>(to * rate));
  if (end <= begin) return 0;
  // Goertzel's single-frequency transform.
  const double w = 2 * M_PI * frequency / rate;
  double s1 = 0, s2 = 0;
  for (size_t i = begin; i < end; ++i) {
    const double s = samples[i] + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  const double power = s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
  return 2 * std::sqrt(power) / double(end - begin);
}

double Peak(const std::vector<float>& samples, int rate, double from, double to) {
  double peak = 0;
  const auto end = std::min(samples.size(), static_cast<size_t>(to * rate));
  for (auto i = static_cast<size_t>(from * rate); i < end; ++i)
    peak = std::max(peak, double(std::abs(samples[i])));
  return peak;
}

}  // namespace tovak::testing
