#include <algorithm>
#include <string>

#include "components/picture_colour.h"
#include "components/picture_error.h"
#include "components/picture_formats/magick_format.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

// The brands of an ISO media file: the major one and the compatible ones of its "ftyp" box.
bool HasBrand(Bytes head, std::string_view brands) {
  if (!HasBytes(head, 4, "ftyp"sv) || head.size() < 16) return false;
  const size_t boxEnd = std::min<size_t>(
      head.size(), size_t(head[0]) << 24 | size_t(head[1]) << 16 | size_t(head[2]) << 8 | head[3]);
  for (size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4) {
    const std::string_view brand(reinterpret_cast<const char*>(head.data() + at), 4);
    for (size_t i = 0; i + 4 <= brands.size(); i += 4) {
      if (brands.substr(i, 4) == brand) return true;
    }
  }
  return false;
}

// The ICC profile of the file's colour box ("colr" of type "prof" or "rICC"), which phones use for
// their Display P3; empty when the file describes its colours otherwise or not at all. The
// decoder gives the pixels in the profile's colours and leaves the conversion to us.
Bytes IccProfile(Bytes data) {
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  for (const std::string_view type : {"colrprof"sv, "colrrICC"sv}) {
    const size_t at = text.find(type);
    if (at == std::string_view::npos || at < 4) continue;
    const size_t box = size_t(data[at - 4]) << 24 | size_t(data[at - 3]) << 16 |
                       size_t(data[at - 2]) << 8 | data[at - 1];
    if (box < 12 || box - 4 > data.size() - at) continue;
    return data.subspan(at + 8, box - 12);
  }
  return {};
}

// HEIF pictures through GraphicsMagick's coder, which turns and mirrors them as their file says.
// The codecs behind it are large and young, so they run in the worker that can be killed.
class Heif final : public MagickFormat {
 public:
  Heif(const char* name, std::string_view brands)
      : MagickFormat(PictureFormat::Other, name), brands_(brands) {}

  bool Identify(Bytes head, std::string_view) const override { return HasBrand(head, brands_); }

  void ReadInfo(PictureSource& source, PictureInfo& info,
                const KeepWaiting& keepWaiting) const override {
    Explained([&] { MagickFormat::ReadInfo(source, info, keepWaiting); });
  }

  QImage Decode(Bytes data, const KeepWaiting& keepWaiting) const override {
    QImage image;
    Explained([&] { image = MagickFormat::Decode(data, keepWaiting); });
    ConvertToSrgb(image, IccProfile(data));
    return image;
  }

 private:
  // Without a decoder for the codec inside, libheif's own words mean little to the user.
  template <typename Body>
  void Explained(Body body) const {
    try {
      body();
    } catch (const EPictureError& e) {
      const std::string text = e.what();
      if (text.find("nsupported codec") != std::string::npos ||
          text.find("No decoding plugin") != std::string::npos ||
          text.find("no decoder") != std::string::npos) {
        throw EPictureError(std::string(Name()) +
                            " pictures cannot be read on this system: it has no decoder for them");
      }
      throw;
    }
  }

  std::string_view brands_;
};

}  // namespace

const PictureDecoder& HeicFormat() {
  static const Heif decoder("HEIC", "heicheixhevchevxheimheishevmhevsmif1msf1");
  return decoder;
}

const PictureDecoder& AvifFormat() {
  static const Heif decoder("AVIF", "avifavis");
  return decoder;
}

}  // namespace tovak
