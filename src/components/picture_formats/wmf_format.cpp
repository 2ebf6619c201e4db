#include "common/byte_order.h"
#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

// Windows metafiles, drawn at kVectorDensity.
class Wmf final : public MagickFormat {
 public:
  Wmf() : MagickFormat(PictureFormat::Wmf, "WMF") {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "\xD7\xCD\xC6\x9A"sv) || IsStandard(head);
  }

 private:
  // A metafile without the placeable header: its own header's type, size and version.
  static bool IsStandard(Bytes d) {
    if (d.size() < 18) return false;
    const int type = GetLe16(d.data());
    const int version = GetLe16(d.data() + 4);
    return (type == 1 || type == 2) && GetLe16(d.data() + 2) == 9 &&
           (version == 0x0100 || version == 0x0300);
  }
};

}  // namespace

const PictureDecoder& WmfFormat() {
  static const Wmf decoder;
  return decoder;
}

}  // namespace tovak
