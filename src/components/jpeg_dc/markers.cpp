#include "components/jpeg_dc/markers.h"

#include <cstring>

#include "common/byte_order.h"

namespace tovak::jpeg_dc::detail {

namespace {

bool ReadFrame(const uint8_t* p, size_t n, Stream& s) {
  if (n < 6 || p[0] != 8) return false;  // 12-bit samples go to the full decoder
  s.height = GetBe16(p + 1);
  s.width = GetBe16(p + 3);
  s.components = p[5];
  // libjpeg's own limit on each side.
  if (s.width == 0 || s.height == 0 || s.width > 65500 || s.height > 65500) return false;
  if ((s.components != 1 && s.components != 3) || n != 6 + 3 * size_t(s.components)) return false;
  for (int i = 0; i < s.components; ++i) {
    Component& c = s.comp[i];
    c.id = p[6 + 3 * i];
    c.h = p[7 + 3 * i] >> 4;
    c.v = p[7 + 3 * i] & 15;
    c.quant = p[8 + 3 * i];
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quant > 3) return false;
    for (int j = 0; j < i; ++j) {
      if (s.comp[j].id == c.id) return false;
    }
  }
  return true;
}

bool ReadHuffmanTables(const uint8_t* p, size_t n, Stream& s) {
  while (n > 0) {
    if (n < 17) return false;
    const int kind = p[0] >> 4, index = p[0] & 15;
    if (kind > 1 || index > 3) return false;
    RawTable& t = kind == 0 ? s.dc[index] : s.ac[index];
    size_t total = 0;
    for (int l = 1; l <= 16; ++l) {
      t.counts[l] = p[l];
      total += p[l];
    }
    if (total > 256 || n < 17 + total) return false;
    std::memset(t.symbols, 0, sizeof t.symbols);
    std::memcpy(t.symbols, p + 17, total);
    t.defined = true;
    p += 17 + total;
    n -= 17 + total;
  }
  return true;
}

bool ReadQuantTables(const uint8_t* p, size_t n, Stream& s) {
  while (n > 0) {
    const int precision = p[0] >> 4, index = p[0] & 15;
    const size_t length = precision ? 129 : 65;
    if (precision > 1 || index > 3 || n < length) return false;
    for (int k = 0; k < 64; ++k) {
      s.quant[index][kNatural[k]] = precision ? int16_t(GetBe16(p + 1 + 2 * k)) : p[1 + k];
    }
    s.quantDefined[index] = true;
    p += length;
    n -= length;
  }
  return true;
}

bool ReadScanHeader(const uint8_t* p, size_t n, Stream& s) {
  // One scan holding every component, in the frame's order, all 64 coefficients at once.
  if (n < 1 || p[0] != s.components || n != 4 + 2 * size_t(s.components)) return false;
  for (int i = 0; i < s.components; ++i) {
    Component& c = s.comp[i];
    if (p[1 + 2 * i] != c.id) return false;
    c.dcTable = p[2 + 2 * i] >> 4;
    c.acTable = p[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3) return false;
    if (!s.dc[c.dcTable].defined || !s.ac[c.acTable].defined || !s.quantDefined[c.quant]) {
      return false;
    }
  }
  const uint8_t* q = p + 1 + 2 * s.components;
  return q[0] == 0 && q[1] == 63 && q[2] == 0;
}

}  // namespace

bool ReadStream(const uint8_t* data, size_t size, Stream& s) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  size_t pos = 2;
  bool frame = false;
  for (;;) {
    if (pos >= size || data[pos] != 0xFF) return false;
    while (pos < size && data[pos] == 0xFF) ++pos;
    if (pos >= size) return false;
    const int marker = data[pos++];
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // no length; ignored
    if (pos + 2 > size) return false;
    const size_t length = GetBe16(data + pos);
    if (length < 2 || length > size - pos) return false;
    const uint8_t* p = data + pos + 2;
    const size_t n = length - 2;
    pos += length;
    switch (marker) {
      case 0xC0:  // baseline
      case 0xC1:  // extended sequential, Huffman-coded
        if (frame || !ReadFrame(p, n, s)) return false;
        frame = true;
        break;
      case 0xC4:
        if (!ReadHuffmanTables(p, n, s)) return false;
        break;
      case 0xDB:
        if (!ReadQuantTables(p, n, s)) return false;
        break;
      case 0xDD:
        if (n != 2) return false;
        s.restartInterval = GetBe16(p);
        break;
      case 0xDA:
        if (!frame || !ReadScanHeader(p, n, s)) return false;
        s.scanStart = pos;
        return true;
      case 0xE0:
        if (n >= 14 && std::memcmp(p, "JFIF", 5) == 0) s.jfif = true;
        break;
      case 0xEE:
        if (n >= 12 && std::memcmp(p, "Adobe", 5) == 0) {
          s.adobe = true;
          s.adobeTransform = p[11];
        }
        break;
      default:
        if ((marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE) break;  // APPn, COM
        // Progressive, lossless and arithmetic-coded frames, DNL and anything stray.
        return false;
    }
  }
}

bool IsYCbCr(const Stream& s) {
  if (s.jfif) return true;
  if (s.adobe) return s.adobeTransform == 1;
  return !(s.comp[0].id == 'R' && s.comp[1].id == 'G' && s.comp[2].id == 'B');
}

}  // namespace tovak::jpeg_dc::detail
