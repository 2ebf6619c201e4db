#include <cstdlib>

#include "common/byte_order.h"
#include "components/picture_formats/picture_formats.h"
#include "components/picture_formats/qt_format.h"

namespace tovak {

namespace {

// Run-length coded rows end with a code of their own; the picture is there when the last row's
// end (or the end-of-picture code) is.
bool RunsComplete(Bytes d, bool fourBit, int64_t height) {
  size_t pos = 0;
  int64_t y = 0;
  while (d.size() - pos >= 2) {
    const uint8_t count = d[pos];
    const uint8_t code = d[pos + 1];
    pos += 2;
    if (count != 0) continue;
    if (code == 0) {
      if (++y >= height) return true;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (d.size() - pos < 2) return false;
      y += d[pos + 1];
      pos += 2;
      if (y >= height) return true;
    } else {
      size_t bytes = fourBit ? (code + 1) / 2 : code;
      bytes += bytes & 1;
      if (bytes > d.size() - pos) return false;
      pos += bytes;
    }
  }
  return false;
}

class Bmp final : public QtFormat {
 public:
  Bmp() : QtFormat(PictureFormat::Bmp, "BMP", "bmp", Pages::One) {}

  bool Identify(Bytes head, std::string_view) const override { return HasBytes(head, 0, "BM"); }

  // Qt's reader shows a cut file with a blank bottom.
  bool Complete(Bytes d) const override {
    if (d.size() < 26) return false;
    const uint32_t dataStart = GetLe32(d.data() + 10);
    const uint32_t infoSize = GetLe32(d.data() + 14);
    int64_t width = 0;
    int64_t height = 0;
    int bits = 0;
    uint32_t compression = 0;
    if (infoSize == 12) {
      width = GetLe16(d.data() + 18);
      height = GetLe16(d.data() + 20);
      bits = GetLe16(d.data() + 24);
    } else if (infoSize >= 40 && d.size() >= 54) {
      width = static_cast<int32_t>(GetLe32(d.data() + 18));
      height = std::abs(int64_t{static_cast<int32_t>(GetLe32(d.data() + 22))});
      bits = GetLe16(d.data() + 28);
      compression = GetLe32(d.data() + 30);
    } else {
      return infoSize < 40;  // cut inside the header, or a header the decoders must judge
    }
    if (width <= 0 || height <= 0 || bits <= 0) return true;  // likewise
    if (dataStart > d.size()) return false;
    const Bytes pixels = d.subspan(dataStart);
    if (compression == 1 || compression == 2) return RunsComplete(pixels, compression == 2, height);
    if (compression != 0 && compression != 3 && compression != 6) return true;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    return stride <= pixels.size() && uint64_t(height) <= pixels.size() / stride;
  }

 protected:
  std::optional<int> DeclaredBits(Bytes head) const override {
    if (head.size() < 30) return std::nullopt;
    return GetLe32(head.data() + 14) == 12 ? GetLe16(head.data() + 24) : GetLe16(head.data() + 28);
  }
};

}  // namespace

const PictureDecoder& BmpFormat() {
  static const Bmp decoder;
  return decoder;
}

}  // namespace tovak
