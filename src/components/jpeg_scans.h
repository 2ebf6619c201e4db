#pragma once

// How much work a JPEG's scans ask of a decoder, found from its markers alone. Header-only and
// free of Qt and of the codec library: the Windows engine checks stored pictures with it too.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tovak {

struct JpegScans {
  size_t count = 0;           // start-of-scan markers before the end of the picture
  uint64_t samples = 0;       // the samples of every component of every scan, summed
  uint64_t frameSamples = 0;  // the samples of every component once
};

// A decoder visits every block of each component a scan names, however few bytes the scan has:
// one 141-byte scan repeated 200 times over a 100-megapixel grey picture holds libjpeg-turbo
// for 13 s. The standard progressive scripts pass over the picture 5 to 6 times and the most
// thorough encoders' about 12; a picture given one scan for each coefficient of each colour
// (190 scans) is what makes a libjpeg-turbo build take longer than a plain decode, and nothing
// that writes photos does that.
inline constexpr size_t kMostJpegScans = 256;
// Passes over the whole picture, each a scan of all its samples.
inline constexpr uint64_t kMostJpegScanPasses = 32;
// Below this many samples in all (about 0.2 s of decoding) any number of passes is fine, so a
// small picture with an odd script still shows.
inline constexpr uint64_t kJpegScanSamplesAlwaysFine = uint64_t{1} << 28;

// A package's pictures are JPEG streams and nothing else, whatever a decoder would also take: the
// Windows system decoder reads PNG and more, the Linux one does not, and both players must refuse
// the same pictures.
inline bool IsJpegStream(const uint8_t* data, size_t size) {
  return data && size >= 4 && data[0] == 0xFF && data[1] == 0xD8;
}
inline constexpr const char* kNotJpeg = "JPEG : not a JPEG file";

namespace jpeg_scans_detail {

inline unsigned Be16(const uint8_t* p) {
  return unsigned(p[0]) << 8 | p[1];
}

// The start of the next marker at or after pos as libjpeg finds it, skipping stray bytes,
// stuffed zeros and restart markers; size when there is none.
inline size_t NextMarker(const uint8_t* data, size_t size, size_t pos) {
  while (pos < size) {
    const void* ff = std::memchr(data + pos, 0xFF, size - pos);
    if (!ff) return size;
    const size_t at = size_t(static_cast<const uint8_t*>(ff) - data);
    size_t code = at + 1;
    while (code < size && data[code] == 0xFF) ++code;
    if (code >= size) return size;
    const uint8_t c = data[code];
    if (c != 0x00 && c != 0x01 && !(c >= 0xD0 && c <= 0xD7)) return code - 1;
    pos = code + 1;
  }
  return size;
}

}  // namespace jpeg_scans_detail

// Walks the whole stream: through every segment and the entropy-coded data between them, up to
// the end-of-picture marker. Never reads outside [data, data + size).
inline JpegScans CountJpegScans(const uint8_t* data, size_t size) {
  using namespace jpeg_scans_detail;
  JpegScans scans;
  if (!IsJpegStream(data, size)) return scans;
  struct Component {
    int id;
    uint64_t samples;
  };
  Component components[4] = {};
  int componentCount = 0;
  size_t pos = 2;
  for (;;) {
    pos = NextMarker(data, size, pos);
    if (pos + 4 > size) break;
    const uint8_t marker = data[pos + 1];
    if (marker == 0xD9 || marker == 0xD8) break;  // the end, or a second start libjpeg refuses
    const size_t length = Be16(data + pos + 2);
    if (length < 2 || length > size - pos - 2) break;
    const uint8_t* p = data + pos + 4;
    const size_t n = length - 2;
    pos += 2 + length;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && n >= 6) {
      const uint64_t height = Be16(p + 1), width = Be16(p + 3);
      componentCount = 0;
      scans.frameSamples = 0;
      int hMax = 1, vMax = 1;
      const int declared = p[5];
      for (int i = 0; i < declared && 6 + 3 * size_t(i) + 3 <= n; ++i) {
        hMax = p[7 + 3 * i] >> 4 > hMax ? p[7 + 3 * i] >> 4 : hMax;
        vMax = (p[7 + 3 * i] & 15) > vMax ? p[7 + 3 * i] & 15 : vMax;
      }
      for (int i = 0; i < declared && i < 4 && 6 + 3 * size_t(i) + 3 <= n; ++i) {
        const uint64_t h = p[7 + 3 * i] >> 4, v = p[7 + 3 * i] & 15;
        const uint64_t samples = (width * h + uint64_t(hMax) - 1) / uint64_t(hMax) *
                                 ((height * v + uint64_t(vMax) - 1) / uint64_t(vMax));
        components[componentCount++] = {p[6 + 3 * i], samples};
        scans.frameSamples += samples;
      }
    } else if (marker == 0xDA) {
      ++scans.count;
      const int named = n >= 1 ? p[0] : 0;
      for (int i = 0; i < named && 1 + 2 * size_t(i) < n; ++i) {
        // A component the frame does not have ends the decoder; until then, count the largest.
        uint64_t samples = scans.frameSamples;
        for (int c = 0; c < componentCount; ++c) {
          if (components[c].id == p[1 + 2 * i]) samples = components[c].samples;
        }
        scans.samples += samples;
      }
    }
  }
  return scans;
}

inline bool TooManyJpegScans(const JpegScans& scans) {
  if (scans.count > kMostJpegScans) return true;
  return scans.samples > kJpegScanSamplesAlwaysFine &&
         scans.samples / kMostJpegScanPasses > scans.frameSamples;
}

inline bool TooManyJpegScans(const uint8_t* data, size_t size) {
  return TooManyJpegScans(CountJpegScans(data, size));
}

}  // namespace tovak
