#include "video/voice_resampler.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/opt.h>
}

#include "video/video_export.h"

namespace tovak {

namespace {

constexpr size_t kStretch = 4096;  // input frames converted at a time

}  // namespace

VoiceResampler::VoiceResampler(std::vector<uint8_t> samples, const TWaveFormatEx& format, int rate)
    : samples_(std::move(samples)),
      inRate_(static_cast<int>(format.nSamplesPerSec)),
      outRate_(rate) {
  const int channels = format.nChannels;
  const int bits = format.wBitsPerSample;
  if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || inRate_ <= 0)
    throw EVideoExportError("the voice's sound format cannot be converted");
  frameBytes_ = size_t(channels) * bits / 8;
  AVChannelLayout in;
  AVChannelLayout out;
  av_channel_layout_default(&in, channels);
  av_channel_layout_default(&out, 1);
  SwrContext* resampler = nullptr;
  av::Check(
      swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_FLT, outRate_, &in,
                          bits == 8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16, inRate_, 0, nullptr),
      "the voice's resampler");
  resampler_.reset(resampler);
  // Two equal channels become one of the same loudness, never one that clips.
  av::Check(av_opt_set_double(resampler, "rematrix_maxval", 1.0, 0), "the voice's resampler");
  av::Check(swr_init(resampler_.get()), "the voice's resampler");
}

void VoiceResampler::Convert() {
  const size_t frames = std::min(kStretch, samples_.size() / frameBytes_ - nextFrame_);
  const int room = swr_get_out_samples(resampler_.get(), static_cast<int>(frames)) + 16;
  ready_.resize(size_t(room));
  readyAt_ = 0;
  auto* out = reinterpret_cast<uint8_t*>(ready_.data());
  int made;
  if (frames > 0) {
    const uint8_t* in = samples_.data() + nextFrame_ * frameBytes_;
    made = swr_convert(resampler_.get(), &out, room, &in, static_cast<int>(frames));
    nextFrame_ += frames;
  } else {
    made = swr_convert(resampler_.get(), &out, room, nullptr, 0);
    if (made <= 0) ended_ = true;
  }
  av::Check(made, "the voice's resampler");
  ready_.resize(size_t(std::max(made, 0)));
}

size_t VoiceResampler::Read(float* out, size_t count) {
  size_t done = 0;
  while (done < count) {
    if (readyAt_ == ready_.size()) {
      if (ended_) break;
      Convert();
      continue;
    }
    const size_t take = std::min(count - done, ready_.size() - readyAt_);
    std::memcpy(out + done, ready_.data() + readyAt_, take * sizeof(float));
    readyAt_ += take;
    done += take;
  }
  return done;
}

}  // namespace tovak
