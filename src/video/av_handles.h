#pragma once

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace tovak::av {

// FFmpeg's objects, each freed by its own call however the export ends.
struct CodecFree {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleFree {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct ResampleFree {
  void operator()(SwrContext* context) const { swr_free(&context); }
};
// An output file's context, closing its file when one was opened.
struct OutputFree {
  void operator()(AVFormatContext* context) const {
    if (context->pb && !(context->oformat->flags & AVFMT_NOFILE)) avio_closep(&context->pb);
    avformat_free_context(context);
  }
};

using Codec = std::unique_ptr<AVCodecContext, CodecFree>;
using Frame = std::unique_ptr<AVFrame, FrameFree>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;
using Scale = std::unique_ptr<SwsContext, ScaleFree>;
using Resample = std::unique_ptr<SwrContext, ResampleFree>;
using Output = std::unique_ptr<AVFormatContext, OutputFree>;

// FFmpeg's words for an error code.
std::string ErrorText(int code);
// Throws EVideoExportError "what: FFmpeg's words" when code is an error; returns it otherwise.
int Check(int code, const char* what);
// A fresh frame; throws when memory runs out.
Frame NewFrame();

}  // namespace tovak::av
