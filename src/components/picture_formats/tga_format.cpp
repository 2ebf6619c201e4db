#include "common/byte_order.h"
#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

// Targa has no signature; only its name tells.
class Tga final : public MagickFormat {
 public:
  Tga() : MagickFormat(PictureFormat::Tga, "TGA") {}

  bool Identify(Bytes, std::string_view extension) const override { return extension == ".TGA"; }

  // Colour-mapped, true-colour or grey, raw or run-length coded (type 1..3, or 9..11).
  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    const Bytes d = source.Head();
    if (d.size() < 18 || d[1] > 1) ThrowDamaged();
    const int type = d[2] & ~8;
    const int bits = d[16];
    if (type < 1 || type > 3 ||
        (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)) {
      ThrowDamaged();
    }
    info.width = GetLe16(d.data() + 12);
    info.height = GetLe16(d.data() + 14);
    info.bitsPerPixel = bits;
    if (info.width == 0 || info.height == 0) ThrowDamaged();
  }
};

}  // namespace

const PictureDecoder& TgaFormat() {
  static const Tga decoder;
  return decoder;
}

}  // namespace tovak
