#include "components/picture_formats/picture_formats.h"

namespace tovak {

const PictureDecoder* FindPictureDecoder(Bytes head, std::string_view extension) {
  // The first that matches wins: exact signatures first, the looser tests after them, and
  // the formats told by their name alone last.
  static const PictureDecoder* const kDecoders[] = {
      &JpegFormat(),
      &PsdFormat(),
      &PngFormat(),
      &GifFormat(),
      &BmpFormat(),
      &TiffFormat(),
      &IcoFormat(),
      &WebPFormat(),
      &AvifFormat(),
      &HeicFormat(),
      &PostScriptFormat(),
      &WmfFormat(),
      &EnhancedMetafileFormat(),
      &PcdFormat(),
      &PictFormat(),
      &PcxFormat(),
      &TgaFormat(),
      &RefusedByName(".CMS"),
      &RefusedByName(".SCM"),
      &RefusedByName(".CMP"),
      &RefusedByName(".EMF"),
  };
  for (const PictureDecoder* decoder : kDecoders) {
    if (decoder->Identify(head, extension)) return decoder;
  }
  return nullptr;
}

}  // namespace tovak
