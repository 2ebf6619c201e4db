#include "components/picture_formats/magick_format.h"

#include "components/magick_decoder.h"

namespace tovak {

void InfoFromMagick(Bytes whole, const char* coder, PictureInfo& info,
                    const KeepWaiting& keepWaiting) {
  const MagickHeader h = PingWithMagick(whole.data(), whole.size(), coder, keepWaiting);
  info.width = h.width;
  info.height = h.height;
  info.bitsPerPixel = h.bitsPerPixel;
  info.pageCount = h.pageCount;
}

void MagickFormat::ReadInfo(PictureSource& source, PictureInfo& info,
                            const KeepWaiting& keepWaiting) const {
  InfoFromMagick(source.Whole(), Name(), info, keepWaiting);
}

QImage MagickFormat::Decode(Bytes data, const KeepWaiting& keepWaiting) const {
  return DecodeWithMagick(data.data(), data.size(), Name(), keepWaiting);
}

}  // namespace tovak
