#pragma once

#include <cstdint>

namespace tovak {

// A slideshow package: the player engine, then for each picture its image, voice and message
// records, the link-menu record, an index table of (offset, size) pairs, and a 16-byte trailer
// (0, picture count N, records per picture 3, flag, padding), integers little-endian.
namespace package {

inline constexpr int kTrailerSize = 16;
inline constexpr int kRecordsPerPicture = 3;
// Every offset and size in the index is a signed 32-bit value.
inline constexpr int64_t kLargestPackage = int64_t{1} << 31;

// Index entries for n pictures: an (offset, size) pair per record and one for the link menu.
inline constexpr int64_t IndexEntryCount(int64_t pictures) {
  return 2 * (kRecordsPerPicture * pictures + 1);
}

inline void PutLittleEndian32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t GetLittleEndian32(const uint8_t* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (uint32_t{in[3]} << 24);
}

}  // namespace package
}  // namespace tovak
