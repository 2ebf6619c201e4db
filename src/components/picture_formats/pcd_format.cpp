#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

class Pcd final : public MagickFormat {
 public:
  Pcd() : MagickFormat(PictureFormat::Pcd, "PCD") {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0x800, "PCD_");
  }

  // Photo CD's base image, turned upright as the decoder does when the disc records a portrait.
  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    const Bytes d = source.Head();
    if (d.size() < 3 * 0x800) ThrowDamaged();
    const bool portrait = d[0x0E02] & 1;
    info.width = portrait ? 512 : 768;
    info.height = portrait ? 768 : 512;
    info.bitsPerPixel = 24;
  }
};

}  // namespace

const PictureDecoder& PcdFormat() {
  static const Pcd decoder;
  return decoder;
}

}  // namespace tovak
