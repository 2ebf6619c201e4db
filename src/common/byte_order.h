#pragma once

#include <cstdint>

// Reading and writing integers in a stated byte order, whatever the machine's. Every file layout
// of the program (packages, voice containers, WAV, picture headers) goes through these.
namespace tovak {

inline uint16_t GetLe16(const uint8_t* in) {
  return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

inline uint32_t GetLe32(const uint8_t* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (uint32_t{in[3]} << 24);
}

inline uint16_t GetBe16(const uint8_t* in) {
  return static_cast<uint16_t>((in[0] << 8) | in[1]);
}

inline uint32_t GetBe32(const uint8_t* in) {
  return (uint32_t{in[0]} << 24) | (in[1] << 16) | (in[2] << 8) | in[3];
}

inline void PutLe16(uint8_t* out, uint16_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

inline void PutLe32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

inline void PutBe16(uint8_t* out, uint16_t value) {
  out[0] = static_cast<uint8_t>(value >> 8);
  out[1] = static_cast<uint8_t>(value);
}

inline void PutBe32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

}  // namespace tovak
