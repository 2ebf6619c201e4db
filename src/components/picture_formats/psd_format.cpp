#include "components/picture_formats/picture_formats.h"
#include "components/psd_reader.h"

namespace tovak {

namespace {

class Psd final : public PictureDecoder {
 public:
  Psd() : PictureDecoder(PictureFormat::Psd, "PSD") {}

  bool Identify(Bytes head, std::string_view) const override { return HasBytes(head, 0, "8BPS"); }

  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    const PsdHeader h = ReadPsdHeader(source.Head().data(), source.Head().size());
    info.width = h.width;
    info.height = h.height;
    info.bitsPerPixel = h.bitsPerPixel;
  }

  QImage Decode(Bytes data, const KeepWaiting&) const override {
    return DecodePsd(data.data(), data.size());
  }
};

}  // namespace

const PictureDecoder& PsdFormat() {
  static const Psd decoder;
  return decoder;
}

}  // namespace tovak
