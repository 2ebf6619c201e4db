#include "support/sample_data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string_view>

namespace tovak::sample {

namespace {

// A small generator with a fixed algorithm, so the data never depends on the standard library.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 16);
  }
  uint32_t Below(uint32_t limit) { return Next() % limit; }
  double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }

 private:
  uint64_t state_;
};

constexpr std::array<std::string_view, 64> kWords = {
    "the",       "of",      "and",     "to",          "a",        "in",      "is",       "that",
    "it",        "was",     "for",     "on",          "are",      "with",    "as",       "his",
    "they",      "be",      "at",      "one",         "have",     "this",    "from",     "or",
    "had",       "by",      "word",    "but",         "what",     "some",    "we",       "can",
    "out",       "other",   "were",    "all",         "there",    "when",    "up",       "use",
    "your",      "how",     "said",    "each",        "she",      "which",   "do",       "their",
    "time",      "picture", "summer",  "grandmother", "holiday",  "garden",  "birthday", "remember",
    "beautiful", "family",  "morning", "children",    "together", "evening", "letter",   "journey"};

}  // namespace

std::vector<uint8_t> EnglishText(size_t size, uint32_t seed) {
  Random random(seed);
  std::vector<uint8_t> out;
  out.reserve(size + 16);
  bool capital = true;
  size_t lineLength = 0;
  while (out.size() < size) {
    // Squaring a uniform value favours the first words, as real prose does.
    const double u = random.Unit();
    std::string_view word = kWords[static_cast<size_t>(u * u * kWords.size())];
    for (size_t i = 0; i < word.size(); ++i) {
      char c = word[i];
      if (i == 0 && capital) c = static_cast<char>(c - 'a' + 'A');
      out.push_back(static_cast<uint8_t>(c));
    }
    lineLength += word.size();
    capital = false;
    const uint32_t p = random.Below(100);
    if (p < 7) {
      out.push_back('.');
      capital = true;
    } else if (p < 12) {
      out.push_back(',');
    }
    if (lineLength > 60 + random.Below(10)) {
      out.push_back('\r');
      out.push_back('\n');
      lineLength = 0;
    } else {
      out.push_back(' ');
      ++lineLength;
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> VoiceAudio(size_t size, uint32_t seed) {
  Random random(seed);
  std::vector<uint8_t> out;
  out.reserve(size);
  constexpr double kRate = 11025.0;
  while (out.size() < size) {
    // A pause: silence with a little hiss, or exact silence as some devices give it.
    const size_t pause = 400 + random.Below(3000);
    const bool exact = random.Below(3) == 0;
    for (size_t i = 0; i < pause && out.size() < size; ++i) {
      const int hiss = exact ? 0 : static_cast<int>(random.Below(3)) - 1;
      out.push_back(static_cast<uint8_t>(128 + hiss));
    }
    // A syllable: a pitch with two harmonics under a rising and falling envelope.
    const size_t length = 1500 + random.Below(5000);
    const double pitch = 90.0 + random.Below(160);
    const double amplitude = 20.0 + random.Below(80);
    for (size_t i = 0; i < length && out.size() < size; ++i) {
      const double t = i / kRate;
      const double envelope = std::sin(M_PI * i / length);
      const double wave = std::sin(2 * M_PI * pitch * t) + 0.5 * std::sin(4 * M_PI * pitch * t) +
                          0.25 * std::sin(6 * M_PI * pitch * t);
      const double noise = (random.Unit() - 0.5) * 6.0;
      const double value = 128.0 + amplitude * envelope * wave / 1.75 + noise;
      out.push_back(static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)));
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
  Random random(seed);
  std::vector<uint8_t> out(size);
  for (auto& b : out) b = static_cast<uint8_t>(random.Next());
  return out;
}

std::vector<uint8_t> Runs(size_t size, uint32_t seed) {
  Random random(seed);
  std::vector<uint8_t> out;
  out.reserve(size);
  while (out.size() < size) {
    const uint8_t value = static_cast<uint8_t>(random.Below(4) * 0x41);
    const size_t run = 1 + random.Below(random.Below(2) ? 20 : 6000);
    out.insert(out.end(), std::min(run, size - out.size()), value);
    const size_t noise = random.Below(12);
    for (size_t i = 0; i < noise && out.size() < size; ++i)
      out.push_back(static_cast<uint8_t>(random.Next()));
  }
  return out;
}

}  // namespace tovak::sample
