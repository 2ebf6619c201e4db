#include "common/byte_order.h"
#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

struct PcxHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  uint64_t decodedBytes = 0;
  bool compressed = true;
  bool paletteAtEnd = false;
};

// PCX has no signature; a header that makes sense is the test.
bool ParsePcx(Bytes d, PcxHeader& h) {
  if (d.size() < 128 || d[0] != 0x0A || d[1] > 5 || d[1] == 1 || d[2] > 1) return false;
  const int bits = d[3];
  const int planes = d[65];
  const int xmin = GetLe16(d.data() + 4), ymin = GetLe16(d.data() + 6);
  const int xmax = GetLe16(d.data() + 8), ymax = GetLe16(d.data() + 10);
  const int bytesPerLine = GetLe16(d.data() + 66);
  if ((bits != 1 && bits != 2 && bits != 4 && bits != 8) || planes < 1 || planes > 4 ||
      xmax < xmin || ymax < ymin || bytesPerLine == 0) {
    return false;
  }
  h.width = xmax - xmin + 1;
  h.height = ymax - ymin + 1;
  h.bitsPerPixel = bits * planes;
  h.decodedBytes = uint64_t(bytesPerLine) * planes * h.height;
  h.compressed = d[2] == 1;
  h.paletteAtEnd = bits == 8 && planes == 1;
  return true;
}

PcxHeader Header(Bytes d) {
  PcxHeader h;
  if (!ParsePcx(d, h)) ThrowDamaged();
  return h;
}

class Pcx final : public MagickFormat {
 public:
  Pcx() : MagickFormat(PictureFormat::Pcx, "PCX") {}

  bool Identify(Bytes head, std::string_view) const override {
    PcxHeader h;
    return ParsePcx(head, h);
  }

  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    const PcxHeader h = Header(source.Head());
    info.width = h.width;
    info.height = h.height;
    info.bitsPerPixel = h.bitsPerPixel;
  }

  void CheckDeclaredSize(Bytes data, const KeepWaiting&) const override {
    const PcxHeader h = Header(data);
    CheckSize(h.width, h.height);
  }

  // GraphicsMagick's reader shows a cut file with a grey bottom.
  bool Complete(Bytes d) const override {
    const PcxHeader h = Header(d);
    size_t pos = 128;
    if (!h.compressed) {
      if (h.decodedBytes > d.size() - pos) return false;
      pos += size_t(h.decodedBytes);
    }
    for (uint64_t produced = h.compressed ? 0 : h.decodedBytes; produced < h.decodedBytes;) {
      if (pos >= d.size()) return false;
      const uint8_t b = d[pos++];
      if ((b & 0xC0) == 0xC0) {
        if (pos++ >= d.size()) return false;
        produced += b & 0x3F;
      } else {
        ++produced;
      }
    }
    // 256-colour pictures end with a marker and their palette. Without them the decoder shows
    // grey, which is right for a file that never had one, but not for one cut inside it.
    if (h.paletteAtEnd && pos < d.size()) {
      return d.size() - pos >= 769 && d[d.size() - 769] == 0x0C;
    }
    return true;
  }
};

}  // namespace

const PictureDecoder& PcxFormat() {
  static const Pcx decoder;
  return decoder;
}

}  // namespace tovak
