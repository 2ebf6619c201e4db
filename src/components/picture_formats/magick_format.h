#pragma once

#include "components/picture_formats/picture_decoder.h"

namespace tovak {

// A format that only GraphicsMagick reads here, with the format's name as the coder.
class MagickFormat : public PictureDecoder {
 public:
  using PictureDecoder::PictureDecoder;

  // What GraphicsMagick reads from the header of the whole file; formats whose header is simple
  // enough read it themselves instead.
  void ReadInfo(PictureSource& source, PictureInfo& info,
                const KeepWaiting& keepWaiting) const override;
  QImage Decode(Bytes data, const KeepWaiting& keepWaiting) const override;
};

// Size, depth and pages as GraphicsMagick's coder reads them from the whole file.
void InfoFromMagick(Bytes whole, const char* coder, PictureInfo& info,
                    const KeepWaiting& keepWaiting);

}  // namespace tovak
