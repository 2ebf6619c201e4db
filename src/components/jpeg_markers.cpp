#include "components/jpeg_markers.h"

#include <cstring>
#include <map>
#include <span>

namespace tovak {

namespace {

using Segment = std::span<const uint8_t>;

bool StartsWith(Segment s, const char* magic, size_t length) {
  return s.size() >= length && std::memcmp(s.data(), magic, length) == 0;
}

uint32_t Read(Segment s, size_t at, int bytes, bool little) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    const uint32_t b = s[at + i];
    value |= little ? b << (8 * i) : b << (8 * (bytes - 1 - i));
  }
  return value;
}

// The orientation tag of the first image directory; 1 when there is none or it is odd.
int ExifOrientation(Segment tiff) {
  if (tiff.size() < 8) return 1;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  const uint32_t ifd = Read(tiff, 4, 4, little);
  if (ifd > tiff.size() - 2) return 1;
  const uint32_t count = Read(tiff, ifd, 2, little);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + size_t(i) * 12;
    if (entry + 12 > tiff.size()) break;
    if (Read(tiff, entry, 2, little) != 0x0112 || Read(tiff, entry + 2, 2, little) != 3) continue;
    const uint32_t value = Read(tiff, entry + 8, 2, little);
    return value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

}  // namespace

JpegMarkers ReadJpegMarkers(const uint8_t* data, size_t size) {
  JpegMarkers markers;
  std::map<int, Segment> iccChunks;
  int iccCount = 0;
  size_t pos = 2;
  while (pos + 4 <= size) {
    if (data[pos] != 0xFF) break;
    const uint8_t marker = data[pos + 1];
    if (marker == 0xFF) {
      ++pos;  // fill byte
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) break;
    const size_t length = size_t(data[pos + 2]) << 8 | data[pos + 3];
    if (length < 2 || pos + 2 + length > size) break;
    const Segment s(data + pos + 4, length - 2);
    if (marker == 0xE1 && StartsWith(s, "Exif\0\0", 6) && markers.orientation == 1) {
      markers.orientation = ExifOrientation(s.subspan(6));
    } else if (marker == 0xEE && StartsWith(s, "Adobe", 5)) {
      markers.adobe = true;
    } else if (marker == 0xE2 && StartsWith(s, "ICC_PROFILE\0", 12) && s.size() > 14) {
      iccCount = s[13];
      iccChunks.emplace(s[12], s.subspan(14));
    }
    pos += 2 + length;
  }
  if (iccCount > 0 && int(iccChunks.size()) == iccCount && iccChunks.begin()->first == 1 &&
      iccChunks.rbegin()->first == iccCount) {
    for (const auto& [sequence, chunk] : iccChunks) {
      markers.icc.insert(markers.icc.end(), chunk.begin(), chunk.end());
    }
  }
  return markers;
}

}  // namespace tovak
