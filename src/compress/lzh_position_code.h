#pragma once

#include <array>
#include <cstdint>

namespace tovak::lzh {

// The fixed prefix code for the upper 6 bits of a match position: canonical, with 3 bits for
// value 0, 4 for 1-3, 5 for 4-11, 6 for 12-23, 7 for 24-47 and 8 for 48-63.
struct PositionCode {
  std::array<uint8_t, 64> length{};
  std::array<uint8_t, 64> code{};          // right-aligned, `length` bits
  std::array<uint8_t, 256> valueOfByte{};  // the value whose code starts a given byte
  std::array<uint8_t, 256> lengthOfByte{};
};

constexpr PositionCode MakePositionCode() {
  PositionCode pc;
  const int counts[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
  int value = 0;
  unsigned next = 0;
  int previousLength = 3;
  for (const auto& [len, count] : counts) {
    next <<= (len - previousLength);
    previousLength = len;
    for (int k = 0; k < count; ++k, ++value, ++next) {
      pc.length[value] = static_cast<uint8_t>(len);
      pc.code[value] = static_cast<uint8_t>(next);
      const unsigned first = next << (8 - len);
      for (unsigned b = first; b < first + (1u << (8 - len)); ++b) {
        pc.valueOfByte[b] = static_cast<uint8_t>(value);
        pc.lengthOfByte[b] = static_cast<uint8_t>(len);
      }
    }
  }
  return pc;
}

constexpr PositionCode kPosition = MakePositionCode();
static_assert(kPosition.code[0] == 0b000 && kPosition.code[1] == 0b0010 &&
              kPosition.code[4] == 0b01010 && kPosition.code[63] == 0b11111111);

}  // namespace tovak::lzh
