#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak::sample {

// Deterministic inputs for codec tests and benchmarks; the same seed gives the same bytes.

// English-like prose: common words with a skewed frequency, punctuation and line breaks.
std::vector<uint8_t> EnglishText(size_t size, uint32_t seed = 1);

// 8-bit unsigned PCM as a microphone gives it: voiced stretches around 128 with harmonics,
// breath noise and pauses of near silence (some exactly 128).
std::vector<uint8_t> VoiceAudio(size_t size, uint32_t seed = 1);

// Uniformly random bytes.
std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed = 1);

// Long runs of a few byte values, mixed with short random stretches.
std::vector<uint8_t> Runs(size_t size, uint32_t seed = 1);

}  // namespace tovak::sample
