#pragma once

#include <string_view>

#include "components/picture_formats/picture_decoder.h"

namespace tovak {

// The decoder for data that starts with head, or nullptr when no format here knows it.
const PictureDecoder* FindPictureDecoder(Bytes head, std::string_view extension);

// Each format's decoder, one file each.
const PictureDecoder& JpegFormat();
const PictureDecoder& PsdFormat();
const PictureDecoder& PngFormat();
const PictureDecoder& GifFormat();
const PictureDecoder& BmpFormat();
const PictureDecoder& IcoFormat();
const PictureDecoder& TiffFormat();
const PictureDecoder& PostScriptFormat();
const PictureDecoder& WmfFormat();
const PictureDecoder& PcdFormat();
const PictureDecoder& PictFormat();
const PictureDecoder& PcxFormat();
const PictureDecoder& TgaFormat();
const PictureDecoder& WebPFormat();
// AVIF before HEIC: a file may carry the common "mif1" brand beside its own.
const PictureDecoder& AvifFormat();
const PictureDecoder& HeicFormat();

// Kinds the program knows but does not read: enhanced metafiles by their content, and the
// others (".CMS", ".SCM", ".CMP", ".EMF") by their name alone.
const PictureDecoder& EnhancedMetafileFormat();
const PictureDecoder& RefusedByName(std::string_view extension);

}  // namespace tovak
