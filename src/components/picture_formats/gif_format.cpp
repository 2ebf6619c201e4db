#include "components/picture_formats/picture_formats.h"
#include "components/picture_formats/qt_format.h"

namespace tovak {

namespace {

class Gif final : public QtFormat {
 public:
  Gif() : QtFormat(PictureFormat::Gif, "GIF", "gif", Pages::Counted) {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "GIF87a") || HasBytes(head, 0, "GIF89a");
  }

  // Qt's reader shows a cut file with a blank bottom; the first frame's data must be all there.
  bool Complete(Bytes d) const override {
    if (d.size() < 13) return false;
    auto colourTable = [](uint8_t flags) { return flags & 0x80 ? 3 * (2 << (flags & 7)) : 0; };
    size_t pos = 13 + size_t(colourTable(d[10]));
    auto skipSubBlocks = [&]() {
      while (pos < d.size()) {
        const size_t length = d[pos++];
        if (length == 0) return true;
        pos += length;
      }
      return false;
    };
    while (pos < d.size()) {
      const uint8_t block = d[pos++];
      if (block == 0x21) {  // extension: label, then sub-blocks
        ++pos;
        if (!skipSubBlocks()) return false;
      } else if (block == 0x2C) {  // the first frame: descriptor, colours, code size, data
        if (d.size() - pos < 10) return false;
        pos += 9 + size_t(colourTable(d[pos + 8])) + 1;
        return skipSubBlocks();
      } else {
        return false;
      }
    }
    return false;
  }

 protected:
  std::optional<int> DeclaredBits(Bytes head) const override {
    if (head.size() >= 11) return head[10] & 0x80 ? (head[10] & 7) + 1 : 8;
    return std::nullopt;
  }
};

}  // namespace

const PictureDecoder& GifFormat() {
  static const Gif decoder;
  return decoder;
}

}  // namespace tovak
