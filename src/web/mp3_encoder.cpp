#include "web/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>
#include <string>

#include "audio/wav_reader.h"
#include "common/byte_order.h"

namespace tovak {

namespace {

struct LameCloser {
  void operator()(lame_global_flags* gfp) const { lame_close(gfp); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

// Samples per call: the output buffer the encoder asks for grows with it.
constexpr size_t kChunk = 4096;
// Chunks encoded between two looks at whether to stop: a few seconds of sound, a few
// milliseconds of work.
constexpr size_t kChunksBetweenStops = 32;

void Check(int result, const char* what) {
  if (result < 0) {
    throw EMp3Error(std::string("The MP3 encoder failed ") + what + " (error " +
                    std::to_string(result) + ")");
  }
}

Lame OpenEncoder(const TWaveFormatEx& format, const Mp3Settings& settings) {
  Lame gfp(lame_init());
  if (!gfp) throw EMp3Error("The MP3 encoder could not start");
  lame_set_num_channels(gfp.get(), 1);
  lame_set_in_samplerate(gfp.get(), static_cast<int>(format.nSamplesPerSec));
  lame_set_out_samplerate(gfp.get(), settings.sampleRate);
  lame_set_mode(gfp.get(), MONO);
  // Average rather than constant bit rate: a constant-rate frame at speech rates is too small
  // to hold the length header, and the encoder then silently leaves it out.
  lame_set_VBR(gfp.get(), vbr_abr);
  lame_set_VBR_mean_bitrate_kbps(gfp.get(), settings.kbps);
  lame_set_quality(gfp.get(), settings.quality);
  // The first frame is kept free for the Info/LAME tag, rewritten once the length is known:
  // browsers take the exact duration and the encoder's delay and padding from it. No ID3 tags,
  // so that frame is the file's first byte.
  lame_set_bWriteVbrTag(gfp.get(), 1);
  lame_set_write_id3tag_automatic(gfp.get(), 0);
  if (lame_init_params(gfp.get()) < 0) {
    throw EMp3Error("The MP3 encoder refused " + std::to_string(settings.kbps) + " kbps at " +
                    std::to_string(settings.sampleRate) + " Hz for a voice at " +
                    std::to_string(format.nSamplesPerSec) + " Hz");
  }
  return gfp;
}

// One mono sample from a frame of 8-bit unsigned or 16-bit signed samples; channels are averaged.
int16_t MonoSample(const uint8_t* frame, const TWaveFormatEx& format) {
  int sum = 0;
  for (int c = 0; c < format.nChannels; ++c) {
    sum += format.wBitsPerSample == 8 ? (frame[c] - 128) * 256
                                      : static_cast<int16_t>(GetLe16(frame + 2 * c));
  }
  return static_cast<int16_t>(sum / format.nChannels);
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& buffer, int n) {
  out.insert(out.end(), buffer.begin(), buffer.begin() + n);
}

}  // namespace

std::vector<uint8_t> EncodeMp3(const std::vector<uint8_t>& wav, const Mp3Settings& settings,
                               const std::function<bool()>& stopped) {
  WavInfo info;
  try {
    info = ReadWavInfo(wav);
  } catch (const EWavStreamError& e) {
    throw EMp3Error("The voice cannot be read: " + e.Message());
  }
  const TWaveFormatEx& format = info.format;
  const size_t frames = info.dataSize / format.nBlockAlign;
  if (frames == 0) return {};

  Lame gfp = OpenEncoder(format, settings);
  std::vector<uint8_t> out;
  out.reserve(frames * settings.kbps * 125 / format.nSamplesPerSec + 8192);
  std::vector<int16_t> pcm(kChunk);
  std::vector<uint8_t> buffer(kChunk * 5 / 4 + 7200);
  const uint8_t* data = wav.data() + info.dataOffset;
  for (size_t done = 0; done < frames;) {
    if (stopped && (done / kChunk) % kChunksBetweenStops == 0 && stopped())
      throw EMp3Error("The voice was not encoded: stopped");
    const size_t n = std::min(kChunk, frames - done);
    for (size_t i = 0; i < n; ++i) {
      pcm[i] = MonoSample(data + (done + i) * format.nBlockAlign, format);
    }
    const int written = lame_encode_buffer(gfp.get(), pcm.data(), pcm.data(), static_cast<int>(n),
                                           buffer.data(), static_cast<int>(buffer.size()));
    Check(written, "while encoding");
    Append(out, buffer, written);
    done += n;
  }
  const int flushed = lame_encode_flush(gfp.get(), buffer.data(), static_cast<int>(buffer.size()));
  Check(flushed, "at the end");
  Append(out, buffer, flushed);

  const size_t tag = lame_get_lametag_frame(gfp.get(), buffer.data(), buffer.size());
  if (tag == 0 || tag > buffer.size() || tag > out.size()) {
    throw EMp3Error("The MP3 encoder gave no length header");
  }
  std::copy_n(buffer.begin(), tag, out.begin());
  return out;
}

std::vector<uint8_t> EncodeSpeechMp3(const std::vector<uint8_t>& wav,
                                     const std::function<bool()>& stopped) {
  return EncodeMp3(wav, kSpeechMp3, stopped);
}

}  // namespace tovak
