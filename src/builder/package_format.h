#pragma once

#include <cstdint>

#include "common/byte_order.h"

namespace tovak {

// The slideshow package's layout, limits and a worked example: docs/package-format.md.
namespace package {

inline constexpr int kTrailerSize = 16;
inline constexpr int kRecordsPerPicture = 3;
// Every offset and size in the index is a signed 32-bit value.
inline constexpr int64_t kLargestPackage = int64_t{1} << 31;

// The most any reader holds for one record, and the longest voice a show may carry. A package
// from a stranger may state anything up to kLargestPackage; a record beyond these is refused as
// damaged before it is read, so no reader spends more time or memory on it than a real show
// needs. Real shows stay far below: a message fills at most a third of the screen, a prepared
// picture is a JPEG of a few megabytes, a voice comment lasts minutes. The builder refuses to
// write what a player would refuse.
inline constexpr int64_t kLargestPicture = int64_t{256} << 20;
inline constexpr int64_t kLargestMessage = int64_t{1} << 20;
inline constexpr int64_t kLargestLinkMenu = int64_t{1} << 20;
inline constexpr int kMostLinks = 1000;
inline constexpr int kMostLinkLanguages = 100;
// A voice as stored expands to its WAV file: at most this many bytes, and this long.
inline constexpr int64_t kLargestVoice = int64_t{1} << 30;
inline constexpr int64_t kLongestVoiceSeconds = 2 * 60 * 60;

// Index entries for n pictures: an (offset, size) pair per record and one for the link menu.
inline constexpr int64_t IndexEntryCount(int64_t pictures) {
  return 2 * (kRecordsPerPicture * pictures + 1);
}

}  // namespace package
}  // namespace tovak
