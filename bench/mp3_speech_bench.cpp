// Measures what MP3 bit rate and sample rate a recorded voice needs: a synthetic voice (voiced
// vowels with moving formants, fricatives, pauses) is recorded at 8 bits, 44.1 kHz stereo as the
// editor does, encoded at a range of settings, decoded again and compared with the clean signal
// in the speech band. The 8-bit recording's own distance from the clean signal is the floor no
// setting can go below.
#include <lame/lame.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <vector>

#include "common/byte_order.h"
#include "web/mp3_decode.h"
#include "web/mp3_encoder.h"

namespace {

using Signal = std::vector<double>;
constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;
constexpr double kSeconds = 20;

// --- The voice -----------------------------------------------------------------------------

struct Vowel {
  double f[4];
};
constexpr Vowel kVowels[] = {{{730, 1090, 2440, 3400}}, {{270, 2290, 3010, 3700}},
                             {{300, 870, 2240, 3300}},  {{530, 1840, 2480, 3500}},
                             {{570, 840, 2410, 3300}},  {{660, 1720, 2410, 3400}}};
constexpr double kBandwidth[4] = {80, 100, 140, 200};

// The gain of the vocal tract's resonances at f, with a -6 dB/octave source-and-lips slope.
double VoicedGain(double f, const double formant[4]) {
  double gain = 1;
  for (int i = 0; i < 4; ++i) {
    const double r = f / formant[i];
    gain /=
        std::sqrt((1 - r * r) * (1 - r * r) + (f * kBandwidth[i] / (formant[i] * formant[i])) *
                                                  (f * kBandwidth[i] / (formant[i] * formant[i])));
  }
  return gain * 100 / std::max(f, 100.0);
}

// A band of noise for a fricative: a second-order band-pass filter.
struct BandPass {
  double b0, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  BandPass(double centre, double q) {
    const double w = 2 * kPi * centre / kRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0 = alpha / a0, b2 = -alpha / a0, a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
  }
  double operator()(double x) {
    const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

double Envelope(size_t i, size_t n, double attack, double release) {
  const double t = double(i) / kRate, left = double(n - i) / kRate;
  const double a = t < attack ? 0.5 - 0.5 * std::cos(kPi * t / attack) : 1;
  const double r = left < release ? 0.5 - 0.5 * std::cos(kPi * left / release) : 1;
  return a * r;
}

Signal SynthesiseVoice() {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::normal_distribution<double> gauss(0, 1);
  Signal out;
  out.reserve(size_t(kSeconds * kRate));
  double phase = 0;
  int sentence = 0;
  while (out.size() < kSeconds * kRate) {
    const double baseF0 = sentence++ % 2 ? 210 : 115;  // a lower and a higher voice in turn
    const int syllables = 4 + int(uniform(random) * 8);
    for (int s = 0; s < syllables; ++s) {
      if (uniform(random) < 0.35) {  // a fricative: s, sh or f
        const double centre[] = {6000, 3500, 5000}, q[] = {1.5, 1.5, 0.5};
        const int kind = int(uniform(random) * 3);
        BandPass filter(centre[kind], q[kind]);
        const size_t n = size_t((0.06 + 0.12 * uniform(random)) * kRate);
        const double level = 0.08 + 0.08 * uniform(random);
        for (size_t i = 0; i < n; ++i) {
          out.push_back(level * filter(gauss(random)) * Envelope(i, n, 0.015, 0.02));
        }
      }
      // A vowel gliding from one formant set to the next, its pitch falling through the word.
      const Vowel& from = kVowels[int(uniform(random) * 6)];
      const Vowel& to = kVowels[int(uniform(random) * 6)];
      const size_t n = size_t((0.12 + 0.2 * uniform(random)) * kRate);
      const double level = 0.25 + 0.25 * uniform(random);
      double formant[4];
      std::vector<double> gains;
      for (size_t i = 0; i < n; ++i) {
        const double x = double(i) / n;
        const double f0 = baseF0 * (1.1 - 0.2 * x) * (1 + 0.01 * std::sin(2 * kPi * 5 * i / kRate));
        if (i % 64 == 0) {
          for (int k = 0; k < 4; ++k) formant[k] = from.f[k] + (to.f[k] - from.f[k]) * x;
          gains.clear();
          for (int h = 1; h * f0 < 8000; ++h) gains.push_back(VoicedGain(h * f0, formant));
        }
        phase += 2 * kPi * f0 / kRate;
        double v = 0;
        for (size_t h = 0; h < gains.size(); ++h) v += gains[h] * std::sin((h + 1) * phase + h);
        out.push_back(level * 0.02 * v * Envelope(i, n, 0.02, 0.04) +
                      0.01 * level * gauss(random));  // breath
      }
    }
    const size_t pause = size_t((0.15 + 0.35 * uniform(random)) * kRate);
    out.insert(out.end(), pause, 0.0);
  }
  out.resize(size_t(kSeconds * kRate));
  for (double& x : out) x += 0.0005 * gauss(random);  // room noise, about -66 dBFS
  const double peak = std::abs(*std::max_element(
      out.begin(), out.end(), [](double a, double b) { return std::abs(a) < std::abs(b); }));
  for (double& x : out) x *= 0.7 / peak;  // a recording peaking about 3 dB below full scale
  return out;
}

// The 8-bit stereo WAV the editor records, and the same samples back as a signal.
std::vector<uint8_t> EightBitWav(const Signal& voice, Signal& recorded) {
  std::vector<uint8_t> wav(44);
  const uint32_t dataSize = uint32_t(voice.size() * 2);
  std::copy_n("RIFF", 4, wav.begin());
  tovak::PutLe32(&wav[4], 36 + dataSize);
  std::copy_n("WAVEfmt ", 8, wav.begin() + 8);
  tovak::PutLe32(&wav[16], 16);
  wav[20] = 1, wav[22] = 2, wav[32] = 2, wav[34] = 8;
  tovak::PutLe32(&wav[24], kRate);
  tovak::PutLe32(&wav[28], kRate * 2);
  std::copy_n("data", 4, wav.begin() + 36);
  tovak::PutLe32(&wav[40], dataSize);
  recorded.clear();
  for (double x : voice) {
    const int s = std::clamp(int(std::lround(x * 128)) + 128, 0, 255);
    wav.push_back(uint8_t(s)), wav.push_back(uint8_t(s));
    recorded.push_back((s - 128) / 128.0);
  }
  return wav;
}

// --- Comparing -----------------------------------------------------------------------------

// A windowed-sinc resampler with no delay, low-passed at 7.5 kHz: it brings the clean voice to
// the rate of a decoded one without touching the band that is measured.
Signal Resample(const Signal& in, int rate) {
  constexpr int kHalf = 128;
  const double cutoff = 7500.0 / kRate, step = double(kRate) / rate;
  constexpr int kTable = 8192;  // the Kaiser window (beta 8) by distance from the centre
  std::vector<double> window(kTable + 2);
  for (int i = 0; i <= kTable + 1; ++i) {
    const double r = std::min(1.0, double(i) / kTable);
    window[size_t(i)] = std::cyl_bessel_i(0, 8 * std::sqrt(1 - r * r)) / std::cyl_bessel_i(0, 8);
  }
  Signal out(size_t(double(in.size()) / step));
  for (size_t n = 0; n < out.size(); ++n) {
    const double t = n * step;
    const long centre = long(t);
    double sum = 0;
    for (long i = centre - kHalf + 1; i <= centre + kHalf; ++i) {
      if (i < 0 || i >= long(in.size())) continue;
      const double d = t - double(i);
      const double sinc = d == 0 ? 1 : std::sin(2 * kPi * cutoff * d) / (2 * kPi * cutoff * d);
      sum += in[size_t(i)] * 2 * cutoff * sinc * window[size_t(std::abs(d) / kHalf * kTable)];
    }
    out[n] = sum;
  }
  return out;
}

struct Spectra {
  int rate = 0;
  size_t firstBin = 0;
  std::vector<std::vector<std::complex<double>>> frames;  // bins 100 Hz to 7 kHz of 20-ms frames
};

Spectra Analyse(const std::vector<double>& x, int rate, long lag = 0) {
  Spectra s;
  s.rate = rate;
  const size_t n = size_t(rate / 50);  // 20 ms, so bins fall every 50 Hz
  s.firstBin = 2;
  const size_t lastBin = 140;
  std::vector<std::complex<double>> twiddle(n);
  for (size_t i = 0; i < n; ++i) twiddle[i] = std::polar(1.0, -2 * kPi * double(i) / double(n));
  for (size_t start = 0; start + n <= x.size(); start += n) {
    std::vector<double> frame(n);
    for (size_t i = 0; i < n; ++i) {
      const long at = long(start + i) + lag;
      const double w = 0.5 - 0.5 * std::cos(2 * kPi * double(i) / double(n));
      frame[i] = at >= 0 && at < long(x.size()) ? w * x[size_t(at)] : 0;
    }
    std::vector<std::complex<double>> bins;
    for (size_t k = s.firstBin; k <= lastBin; ++k) {
      std::complex<double> sum = 0;
      for (size_t i = 0; i < n; ++i) sum += frame[i] * twiddle[(i * k) % n];
      bins.push_back(sum);
    }
    s.frames.push_back(std::move(bins));
  }
  return s;
}

struct Distance {
  double snrLow = 0;   // segmental SNR, dB, 300 Hz-3.4 kHz
  double snrHigh = 0;  // segmental SNR, dB, 3.4-7 kHz
  double lsd = 0;      // log-spectral distance, dB, 100 Hz-7 kHz
};

// Over the frames where the clean voice speaks (within 40 dB of its loudest frame).
Distance Compare(const Spectra& clean, const Spectra& other) {
  std::vector<double> energy;
  double loudest = 0, floor = 0;
  for (const auto& f : clean.frames) {
    double e = 0;
    for (const auto& b : f) e += std::norm(b), floor = std::max(floor, std::norm(b));
    energy.push_back(e), loudest = std::max(loudest, e);
  }
  floor *= 1e-7;  // bins 70 dB below the loudest count as silence in both
  auto segment = [](double signal, double noise) {
    return std::clamp(10 * std::log10(signal / std::max(noise, 1e-30)), -10.0, 40.0);
  };
  Distance d;
  int counted = 0;
  for (size_t f = 0; f < clean.frames.size() && f < other.frames.size(); ++f) {
    if (energy[f] < loudest * 1e-4) continue;
    double sl = 0, nl = 0, sh = 0, nh = 0, lsd = 0;
    for (size_t k = 0; k < clean.frames[f].size(); ++k) {
      const double hz = double(clean.firstBin + k) * 50;
      const auto a = clean.frames[f][k], b = other.frames[f][k];
      if (hz >= 300 && hz <= 3400) sl += std::norm(a), nl += std::norm(a - b);
      if (hz > 3400) sh += std::norm(a), nh += std::norm(a - b);
      const double ratio = 10 * std::log10((std::norm(b) + floor) / (std::norm(a) + floor));
      lsd += ratio * ratio;
    }
    d.snrLow += segment(sl, nl), d.snrHigh += segment(sh, nh);
    d.lsd += std::sqrt(lsd / double(clean.frames[f].size()));
    ++counted;
  }
  d.snrLow /= counted, d.snrHigh /= counted, d.lsd /= counted;
  return d;
}

// The decoded voice may sit a sample or two off the clean one; the best of a few lags is used.
Distance CompareAligned(const Spectra& clean, const Signal& decoded, int rate, long& lag) {
  Distance best{-100, -100, 100};
  for (long l = -2; l <= 2; ++l) {
    const Distance d = Compare(clean, Analyse(decoded, rate, l));
    if (d.snrLow > best.snrLow) best = d, lag = l;
  }
  return best;
}

// How far the MP3, as played, is from the clean voice.
Distance Played(const Spectra& clean, const std::vector<uint8_t>& mp3, long& lag) {
  const tovak::testing::DecodedMp3 decoded = tovak::testing::DecodeMp3(mp3);
  Signal played(decoded.samples.size());
  for (size_t i = 0; i < played.size(); ++i) played[i] = decoded.samples[i] / 32768.0;
  return CompareAligned(clean, played, decoded.sampleRate, lag);
}

// The fastest of three runs, as the machine may be busy.
double Encode(const std::vector<uint8_t>& wav, const tovak::Mp3Settings& settings,
              std::vector<uint8_t>& mp3) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    mp3 = tovak::EncodeMp3(wav, settings);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

int Lowpass(int kbps, int rate) {
  lame_global_flags* gfp = lame_init();
  lame_set_num_channels(gfp, 1);
  lame_set_in_samplerate(gfp, kRate);
  lame_set_out_samplerate(gfp, rate);
  lame_set_mode(gfp, MONO);
  lame_set_VBR(gfp, vbr_abr);
  lame_set_VBR_mean_bitrate_kbps(gfp, kbps);
  lame_init_params(gfp);
  const int hz = lame_get_lowpassfreq(gfp);
  lame_close(gfp);
  return hz;
}

}  // namespace

int main() {
  const Signal clean = SynthesiseVoice();
  Signal recorded;
  const std::vector<uint8_t> wav = EightBitWav(clean, recorded);
  std::printf("A %.0f-s synthetic voice recorded at 8 bits, 44.1 kHz stereo (%zu bytes).\n",
              kSeconds, wav.size());
  std::printf(
      "SNR: segmental, dB, in 0.3-3.4 kHz and 3.4-7 kHz; LSD: log-spectral distance, dB, "
      "0.1-7 kHz; both against the clean voice.\n\n");
  std::printf("%-12s %5s %8s %9s %8s %8s %8s %6s %4s\n", "setting", "kbps", "lowpass", "bytes",
              "enc ms", "SNR low", "SNR high", "LSD", "lag");
  for (const int rate : {16000, 22050, 24000}) {
    const Spectra reference = Analyse(Resample(clean, rate), rate);
    const Distance source = Compare(reference, Analyse(Resample(recorded, rate), rate));
    std::printf("8-bit %5.2fk %5s %8s %9s %8s %8.1f %8.1f %6.2f\n", rate / 1000.0, "-", "-", "-",
                "-", source.snrLow, source.snrHigh, source.lsd);
    for (const int kbps : {16, 24, 32, 40, 48}) {
      std::vector<uint8_t> mp3;
      const double ms = Encode(wav, {kbps, rate, tovak::kSpeechMp3.quality}, mp3);
      long lag = 0;
      const Distance d = Played(reference, mp3, lag);
      std::printf("mp3   %5.2fk %5d %8d %9zu %8.1f %8.1f %8.1f %6.2f %4ld\n", rate / 1000.0, kbps,
                  Lowpass(kbps, rate), mp3.size(), ms, d.snrLow, d.snrHigh, d.lsd, lag);
    }
  }
  std::printf("\nThe chosen setting (%d kbps, %d Hz) at other encoder qualities:\n",
              tovak::kSpeechMp3.kbps, tovak::kSpeechMp3.sampleRate);
  const int rate = tovak::kSpeechMp3.sampleRate;
  const Spectra reference = Analyse(Resample(clean, rate), rate);
  for (const int quality : {0, 2, 5, 7, 9}) {
    std::vector<uint8_t> mp3;
    const double ms = Encode(wav, {tovak::kSpeechMp3.kbps, rate, quality}, mp3);
    long lag = 0;
    const Distance d = Played(reference, mp3, lag);
    std::printf("quality %d: %zu bytes, %.1f ms, SNR %.1f / %.1f dB, LSD %.2f dB\n", quality,
                mp3.size(), ms, d.snrLow, d.snrHigh, d.lsd);
  }
  return 0;
}
