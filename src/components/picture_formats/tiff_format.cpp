#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

// Not Qt's TIFF reader: it shares libtiff with GraphicsMagick, whose process-wide error handler
// then receives Qt's data as its own and aborts.
class Tiff final : public MagickFormat {
 public:
  Tiff() : MagickFormat(PictureFormat::Tiff, "TIFF") {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "II*\0"sv) || HasBytes(head, 0, "MM\0*"sv);
  }
};

}  // namespace

const PictureDecoder& TiffFormat() {
  static const Tiff decoder;
  return decoder;
}

}  // namespace tovak
