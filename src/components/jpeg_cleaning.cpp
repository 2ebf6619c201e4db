#include "components/jpeg_cleaning.h"

#include <algorithm>
#include <cstring>

#include "components/jpeg_markers.h"
#include "components/jpeg_scans.h"

namespace tovak {

namespace {

// What libjpeg reads of each: the JFIF version, units and densities (a thumbnail is never
// drawn), and the Adobe version, flags and colour transform.
constexpr size_t kJfifLength = 14;
constexpr size_t kAdobeLength = 12;

bool Starts(const uint8_t* p, size_t n, const char* magic, size_t length) {
  return n >= length && std::memcmp(p, magic, length) == 0;
}

void Put(std::vector<uint8_t>& out, uint8_t marker, const uint8_t* p, size_t n) {
  out.insert(out.end(), {0xFF, marker, uint8_t((n + 2) >> 8), uint8_t(n + 2)});
  out.insert(out.end(), p, p + n);
}

// A big-endian TIFF block with one directory holding only the orientation.
void PutOrientation(std::vector<uint8_t>& out, int orientation) {
  const uint8_t exif[] = {'E', 'x', 'i', 'f',  0,    0, 'M', 'M', 0, 42, 0, 0, 0,
                          8,   0,   1,   0x01, 0x12, 0, 3,   0,   0, 0,  1, 0, uint8_t(orientation),
                          0,   0,   0,   0,    0,    0};
  Put(out, 0xE1, exif, sizeof exif);
}

}  // namespace

std::vector<uint8_t> JpegWithoutExtras(const uint8_t* data, size_t size) {
  if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return {};
  // Decoders take a profile and the orientation only from before the first scan, the profile
  // only when all its pieces are there; what this program's decoder takes, every one gets.
  const JpegMarkers markers = ReadJpegMarkers(data, size);
  std::vector<uint8_t> out = {0xFF, 0xD8};
  out.reserve(size);
  if (markers.orientation != 1) PutOrientation(out, markers.orientation);
  // Where ReadJpegMarkers stops: at the first scan, or at the first stray byte.
  bool profileRead = true;
  size_t pos = 2;
  for (;;) {
    const size_t at = jpeg_scans_detail::NextMarker(data, size, pos);
    if (std::any_of(data + pos, data + at, [](uint8_t b) { return b != 0xFF; })) {
      profileRead = false;
    }
    pos = at;
    if (pos + 2 > size) return {};
    const uint8_t marker = data[pos + 1];
    if (marker == 0xD9) {
      out.insert(out.end(), {0xFF, 0xD9});
      return out;
    }
    if (marker == 0xD8 || pos + 4 > size) return {};
    const size_t length = jpeg_scans_detail::Be16(data + pos + 2);
    if (length < 2 || length > size - pos - 2) return {};
    const uint8_t* p = data + pos + 4;
    const size_t n = length - 2;
    const size_t next = pos + 2 + length;
    if (marker == 0xE0) {
      if (Starts(p, n, "JFIF\0", 5) && n >= kJfifLength) {
        const uint8_t jfif[kJfifLength] = {p[0], p[1], p[2], p[3],  p[4],  p[5], p[6],
                                           p[7], p[8], p[9], p[10], p[11], 0,    0};
        Put(out, marker, jfif, sizeof jfif);
      }
    } else if (marker == 0xE2) {
      if (profileRead && !markers.icc.empty() && Starts(p, n, "ICC_PROFILE\0", 12)) {
        out.insert(out.end(), data + pos, data + next);
      }
    } else if (marker == 0xEE) {
      if (Starts(p, n, "Adobe", 5) && n >= kAdobeLength) Put(out, marker, p, kAdobeLength);
    } else if ((marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE) {
      // Camera data, other programs' notes and comments: none of them draws a pixel.
    } else {
      out.insert(out.end(), data + pos, data + next);
    }
    pos = next;
    if (marker == 0xDA) {
      profileRead = false;
      const size_t end = jpeg_scans_detail::NextMarker(data, size, pos);
      out.insert(out.end(), data + pos, data + end);
      pos = end;
    }
  }
}

}  // namespace tovak
