#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovak::testing {

// A WAV file of any kind, as recorders and phones write them; extensible when mask is given.
inline std::vector<uint8_t> AnyWav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                   const std::vector<uint8_t>& data, int64_t mask = -1) {
  auto le = [](std::vector<uint8_t>& b, uint32_t v, int n) {
    for (int k = 0; k < n; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
  };
  std::vector<uint8_t> fmt;
  le(fmt, mask >= 0 ? 0xFFFE : tag, 2);
  le(fmt, channels, 2);
  le(fmt, rate, 4);
  le(fmt, rate * channels * bits / 8, 4);
  le(fmt, channels * bits / 8, 2);
  le(fmt, bits, 2);
  if (mask >= 0) {
    le(fmt, 22, 2);
    le(fmt, bits, 2);
    le(fmt, static_cast<uint32_t>(mask), 4);
    le(fmt, tag, 2);
    for (uint8_t b : {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}) fmt.push_back(b);
  }
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  le(file, static_cast<uint32_t>(20 + fmt.size() + data.size()), 4);
  for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<uint8_t>(c));
  le(file, static_cast<uint32_t>(fmt.size()), 4);
  file.insert(file.end(), fmt.begin(), fmt.end());
  for (char c : std::string("data")) file.push_back(static_cast<uint8_t>(c));
  le(file, static_cast<uint32_t>(data.size()), 4);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

}  // namespace tovak::testing
