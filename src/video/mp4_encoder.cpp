#include "video/mp4_encoder.h"

#include <cmath>
#include <cstring>
#include <new>

extern "C" {
#include <libavutil/opt.h>
}

#include "video/video_export.h"

namespace tovak {

namespace {

struct Level {
  int idc;
  int64_t macroblocksPerSecond;
  int frameMacroblocks;
  int bitRateKbps;  // Main profile's; High takes 5/4 of it
  int bufferKbits;
};

constexpr Level kLevels[] = {
    {20, 11880, 396, 2000, 2000},         {21, 19800, 792, 4000, 4000},
    {22, 20250, 1620, 4000, 4000},        {30, 40500, 1620, 10000, 10000},
    {31, 108000, 3600, 14000, 14000},     {32, 216000, 5120, 20000, 20000},
    {40, 245760, 8192, 20000, 25000},     {42, 522240, 8704, 50000, 62500},
    {50, 589824, 22080, 135000, 135000},  {51, 983040, 36864, 240000, 240000},
    {52, 2073600, 36864, 240000, 240000},
};

const Level* FindLevel(int width, int height, int framesPerSecond) {
  const int wide = (width + 15) / 16;
  const int high = (height + 15) / 16;
  for (const Level& level : kLevels) {
    // A level also bounds each side, to the square root of eight frames' worth.
    const int side = static_cast<int>(std::sqrt(8.0 * level.frameMacroblocks));
    if (wide * high <= level.frameMacroblocks && wide <= side && high <= side &&
        int64_t(wide) * high * framesPerSecond <= level.macroblocksPerSecond)
      return &level;
  }
  return nullptr;
}

const AVCodec* Encoder(const char* name) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec) throw EVideoExportError(std::string("FFmpeg lacks the encoder \"") + name + "\"");
  return codec;
}

av::Codec NewCodec(const AVCodec* codec) {
  av::Codec context(avcodec_alloc_context3(codec));
  if (!context) throw std::bad_alloc();
  return context;
}

void SetOption(void* object, const char* name, const std::string& value) {
  av::Check(av_opt_set(object, name, value.c_str(), 0), name);
}

}  // namespace

int H264Level(int width, int height, int framesPerSecond) {
  const Level* level = FindLevel(width, height, framesPerSecond);
  return level ? level->idc : 0;
}

Mp4Encoder::Mp4Encoder(const std::string& path, const std::string& name, const Mp4Format& format)
    : name_(name + ": cannot be written") {
  // Failures reach the user as this class's exceptions; FFmpeg's own chatter would only be noise
  // on the terminal.
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* output = nullptr;
  av::Check(avformat_alloc_output_context2(&output, nullptr, "mp4", path.c_str()), "MP4");
  output_.reset(output);
  OpenVideo(format);
  OpenAudio(format);
  av::Check(avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE), name_.c_str());
  AVDictionary* options = nullptr;
  // The index goes to the front once all is written, so a player can start before the end
  // has arrived.
  av_dict_set(&options, "movflags", "+faststart", 0);
  const int written = avformat_write_header(output_.get(), &options);
  av_dict_free(&options);
  av::Check(written, name_.c_str());
  packet_.reset(av_packet_alloc());
  if (!packet_) throw std::bad_alloc();
}

void Mp4Encoder::OpenVideo(const Mp4Format& format) {
  const Level* level = FindLevel(format.width, format.height, format.framesPerSecond);
  if (!level) throw EVideoExportError("the video's size is beyond what H.264 players take");
  video_ = NewCodec(Encoder("libx264"));
  AVCodecContext& codec = *video_;
  codec.width = format.width;
  codec.height = format.height;
  codec.pix_fmt = AV_PIX_FMT_YUV420P;
  codec.time_base = {1, format.framesPerSecond};
  codec.framerate = {format.framesPerSecond, 1};
  codec.gop_size = format.keyFrameEvery;
  codec.level = level->idc;
  // Within the level's rate and buffer, so devices that check them take the file.
  codec.rc_max_rate = int64_t(level->bitRateKbps) * 1250;
  codec.rc_buffer_size = level->bufferKbits * 1250;
  codec.color_range = AVCOL_RANGE_MPEG;
  codec.colorspace = AVCOL_SPC_BT709;
  codec.color_primaries = AVCOL_PRI_BT709;
  codec.color_trc = AVCOL_TRC_BT709;
  codec.sample_aspect_ratio = {1, 1};
  if (output_->oformat->flags & AVFMT_GLOBALHEADER) codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  SetOption(codec.priv_data, "profile", "high");
  SetOption(codec.priv_data, "preset", format.preset);
  if (!format.tune.empty()) SetOption(codec.priv_data, "tune", format.tune);
  if (!format.x264Params.empty()) SetOption(codec.priv_data, "x264-params", format.x264Params);
  av::Check(av_opt_set_double(codec.priv_data, "crf", format.quality, 0), "crf");
  // A picture's first frame is one a player can start from.
  av::Check(av_opt_set_int(codec.priv_data, "forced-idr", 1, 0), "forced-idr");
  av::Check(avcodec_open2(&codec, codec.codec, nullptr), "the H.264 encoder");
  videoStream_ = AddStream(codec, "H.264");
  videoStream_->avg_frame_rate = codec.framerate;

  picture_ = av::NewFrame();
  picture_->format = codec.pix_fmt;
  picture_->width = codec.width;
  picture_->height = codec.height;
  av::Check(av_frame_get_buffer(picture_.get(), 0), "a frame");
  scale_.reset(sws_getContext(codec.width, codec.height, AV_PIX_FMT_RGB32, codec.width,
                              codec.height, AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND,
                              nullptr, nullptr, nullptr));
  if (!scale_) throw EVideoExportError("the pictures cannot be converted for H.264");
  // Full-range RGB into the studio range of BT.709, as the stream says it is.
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(scale_.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
}

AVStream* Mp4Encoder::AddStream(const AVCodecContext& codec, const char* what) {
  AVStream* stream = avformat_new_stream(output_.get(), nullptr);
  if (!stream) throw std::bad_alloc();
  stream->time_base = codec.time_base;
  av::Check(avcodec_parameters_from_context(stream->codecpar, &codec), what);
  return stream;
}

void Mp4Encoder::OpenAudio(const Mp4Format& format) {
  audio_ = NewCodec(Encoder("aac"));
  AVCodecContext& codec = *audio_;
  codec.sample_fmt = AV_SAMPLE_FMT_FLTP;
  codec.sample_rate = format.sampleRate;
  av_channel_layout_default(&codec.ch_layout, 1);
  codec.bit_rate = format.audioBitRate;
  codec.profile = FF_PROFILE_AAC_LOW;
  codec.time_base = {1, format.sampleRate};
  if (output_->oformat->flags & AVFMT_GLOBALHEADER) codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  av::Check(avcodec_open2(&codec, codec.codec, nullptr), "the AAC encoder");
  audioStream_ = AddStream(codec, "AAC");
  sound_ = av::NewFrame();
  sound_->format = codec.sample_fmt;
  sound_->sample_rate = codec.sample_rate;
  sound_->nb_samples = codec.frame_size;
  av::Check(av_channel_layout_copy(&sound_->ch_layout, &codec.ch_layout), "AAC");
  av::Check(av_frame_get_buffer(sound_.get(), 0), "a sound frame");
}

void Mp4Encoder::SetPicture(const QImage& image) {
  if (image.format() != QImage::Format_RGB32 || image.width() != video_->width ||
      image.height() != video_->height)
    throw EVideoExportError("a frame was drawn at the wrong size or format");
  // The encoder may still hold the last picture's planes; they are then copied, not changed.
  av::Check(av_frame_make_writable(picture_.get()), "a frame");
  const uint8_t* const planes[] = {image.constBits()};
  const int strides[] = {static_cast<int>(image.bytesPerLine())};
  sws_scale(scale_.get(), planes, strides, 0, image.height(), picture_->data, picture_->linesize);
}

void Mp4Encoder::WriteFrame(bool key) {
  picture_->pts = nextFrame_++;
  picture_->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
  Encode(video_.get(), videoStream_, picture_.get());
}

void Mp4Encoder::WriteSound(const float* samples, size_t count) {
  pendingSound_.insert(pendingSound_.end(), samples, samples + count);
  const auto frame = static_cast<size_t>(audio_->frame_size);
  size_t used = 0;
  for (; pendingSound_.size() - used >= frame; used += frame) {
    av::Check(av_frame_make_writable(sound_.get()), "a sound frame");
    std::memcpy(sound_->data[0], pendingSound_.data() + used, frame * sizeof(float));
    SendSound(audio_->frame_size);
  }
  pendingSound_.erase(pendingSound_.begin(), pendingSound_.begin() + std::ptrdiff_t(used));
}

void Mp4Encoder::SendSound(int count) {
  sound_->nb_samples = count;
  sound_->pts = nextSample_;
  nextSample_ += count;
  Encode(audio_.get(), audioStream_, sound_.get());
}

void Mp4Encoder::Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
  av::Check(avcodec_send_frame(codec, frame), "encoding");
  for (;;) {
    const int received = avcodec_receive_packet(codec, packet_.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    av::Check(received, "encoding");
    av_packet_rescale_ts(packet_.get(), codec->time_base, stream->time_base);
    packet_->stream_index = stream->index;
    av::Check(av_interleaved_write_frame(output_.get(), packet_.get()), name_.c_str());
  }
}

void Mp4Encoder::Finish() {
  if (finished_) return;
  if (!pendingSound_.empty()) {
    // The encoder takes a short last frame; it is sent on its own buffer.
    av::Frame last = av::NewFrame();
    last->format = audio_->sample_fmt;
    last->sample_rate = audio_->sample_rate;
    last->nb_samples = static_cast<int>(pendingSound_.size());
    av::Check(av_channel_layout_copy(&last->ch_layout, &audio_->ch_layout), "AAC");
    av::Check(av_frame_get_buffer(last.get(), 0), "a sound frame");
    std::memcpy(last->data[0], pendingSound_.data(), pendingSound_.size() * sizeof(float));
    last->pts = nextSample_;
    nextSample_ += last->nb_samples;
    Encode(audio_.get(), audioStream_, last.get());
    pendingSound_.clear();
  }
  Encode(video_.get(), videoStream_, nullptr);
  Encode(audio_.get(), audioStream_, nullptr);
  av::Check(av_write_trailer(output_.get()), name_.c_str());
  const int error = output_->pb->error;
  av::Check(avio_closep(&output_->pb), name_.c_str());
  av::Check(error, name_.c_str());
  finished_ = true;
}

}  // namespace tovak
