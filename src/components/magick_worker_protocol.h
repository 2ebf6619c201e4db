#pragma once

// What the program and tovak-magick-worker say to each other. The program starts
//   tovak-magick-worker MODULE CODER DENSITY MAX_PIXELS ping|decode
// with the picture's bytes as its standard input (a file, read from the start) and reads one
// MagickWorkerReply from its standard output, followed, for a decoded picture, by width x height
// pixels of 4 bytes (B, G, R, A) in rows without padding. Both sides are one build of the
// program: the layout is native.

#include <cstdint>

#include "components/magick_module.h"

namespace tovak {

inline constexpr char kMagickWorkerName[] = "tovak-magick-worker";

inline constexpr char kMagickWorkerMagic[8] = "TOVAKW1";

struct MagickWorkerReply {
  char magic[8];
  int32_t failed;  // when set, message says why and nothing follows
  TovakMagickHeader header;
  int32_t hasAlpha;
  char message[TOVAK_MAGICK_MESSAGE_SIZE];
};

}  // namespace tovak
