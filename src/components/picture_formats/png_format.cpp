#include "common/byte_order.h"
#include "components/picture_formats/picture_formats.h"
#include "components/picture_formats/qt_format.h"

namespace tovak {

namespace {

using namespace std::literals;

class Png final : public QtFormat {
 public:
  Png() : QtFormat(PictureFormat::Png, "PNG", "png", Pages::One) {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "\x89PNG\r\n\x1A\n"sv);
  }

  // Qt's reader shows a cut file with a blank bottom; the chunks must run on to the last one.
  bool Complete(Bytes d) const override {
    if (d.size() < 8) return false;
    size_t pos = 8;
    while (d.size() - pos >= 12) {
      const uint32_t length = GetBe32(d.data() + pos);
      if (length > d.size() - pos - 12) return false;
      if (HasBytes(d, pos + 4, "IEND")) return true;
      pos += 12 + size_t(length);
    }
    return false;
  }

 protected:
  std::optional<int> DeclaredBits(Bytes head) const override {
    if (head.size() >= 26) {
      static constexpr int kChannels[] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
      const int type = head[25];
      if (type < 7 && kChannels[type] > 0) return head[24] * kChannels[type];
    }
    return std::nullopt;
  }
};

}  // namespace

const PictureDecoder& PngFormat() {
  static const Png decoder;
  return decoder;
}

}  // namespace tovak
