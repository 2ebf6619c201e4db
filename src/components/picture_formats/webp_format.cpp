#include "components/picture_formats/picture_formats.h"
#include "components/picture_formats/qt_format.h"

namespace tovak {

namespace {

using namespace std::literals;

class WebP final : public QtFormat {
 public:
  WebP() : QtFormat(PictureFormat::Other, "WEBP", "webp", Pages::One) {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "RIFF"sv) && HasBytes(head, 8, "WEBP"sv);
  }
};

}  // namespace

const PictureDecoder& WebPFormat() {
  static const WebP decoder;
  return decoder;
}

}  // namespace tovak
