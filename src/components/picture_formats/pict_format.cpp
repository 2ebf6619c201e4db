#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

class Pict final : public MagickFormat {
 public:
  Pict() : MagickFormat(PictureFormat::Pict, "PICT") {}

  // The picture's version opcode (2, or 1) after its size and frame. PICT files begin with 512
  // bytes that belong to the Macintosh file system, not the picture.
  bool Identify(Bytes head, std::string_view) const override {
    constexpr size_t kVersionAt = 512 + 10;
    return HasBytes(head, kVersionAt, "\x00\x11\x02\xFF"sv) ||
           HasBytes(head, kVersionAt, "\x11\x01"sv);
  }
};

}  // namespace

const PictureDecoder& PictFormat() {
  static const Pict decoder;
  return decoder;
}

}  // namespace tovak
