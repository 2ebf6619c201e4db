#include "components/jpeg_codec.h"
#include "components/picture_error.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

class Jpeg final : public PictureDecoder {
 public:
  Jpeg() : PictureDecoder(PictureFormat::Jpeg, "JPEG") {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "\xFF\xD8\xFF"sv);
  }

  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    JpegHeader h;
    try {
      h = ReadJpegHeader(source.Head().data(), source.Head().size());
    } catch (const EPictureError&) {
      if (source.IsWhole()) throw;
      const Bytes whole = source.Whole();  // the frame header lies beyond large metadata
      h = ReadJpegHeader(whole.data(), whole.size());
    }
    info.width = h.width;
    info.height = h.height;
    info.bitsPerPixel = 24;
  }

  QImage Decode(Bytes data, const KeepWaiting&) const override {
    return DecodeJpeg(data.data(), data.size());
  }
};

}  // namespace

const PictureDecoder& JpegFormat() {
  static const Jpeg decoder;
  return decoder;
}

}  // namespace tovak
