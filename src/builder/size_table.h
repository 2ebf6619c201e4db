#pragma once

#include <cstdint>

namespace tovak {

enum TCreationMode : uint8_t { cmCompact = 0, cmFull = 1 };

struct ImageSize {
  int32_t width = 0;  // 0 x 0: no limit
  int32_t height = 0;
};

inline constexpr ImageSize kCompactSizes[] = {{800, 600}, {640, 480}, {420, 255}};
inline constexpr ImageSize kFullSizes[] = {
    {0, 0}, {1600, 1200}, {1280, 1024}, {1152, 864}, {1024, 768}};
inline constexpr int32_t kDefaultSizeIndex = 2;
inline constexpr int32_t kDefaultCompactQuality = 50;
inline constexpr int32_t kDefaultFullQuality = 80;

// The size limits of a creation mode's size index. An index outside the table (a hand-edited
// settings file) gets the mode's default row.
inline ImageSize GetImageSize(uint8_t mode, int32_t index) {
  if (mode == cmFull) {
    constexpr int32_t rows = sizeof kFullSizes / sizeof kFullSizes[0];
    return kFullSizes[index >= 0 && index < rows ? index : kDefaultSizeIndex];
  }
  constexpr int32_t rows = sizeof kCompactSizes / sizeof kCompactSizes[0];
  return kCompactSizes[index >= 0 && index < rows ? index : kDefaultSizeIndex];
}

}  // namespace tovak
