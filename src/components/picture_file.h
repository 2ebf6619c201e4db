#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string>

#include "components/picture_wait.h"

namespace tovak {

// The picture formats the program accepts, as found in a file's own header (not its name).
enum class PictureFormat {
  Jpeg,
  Bmp,
  Gif,
  Ico,
  Png,
  Tiff,
  Tga,
  Pcx,
  Pict,
  Pcd,
  Wmf,
  Eps,
  Psd,
  Other,  // another format a decoder here knows
};

struct PictureInfo {
  PictureFormat format = PictureFormat::Other;
  std::string formatName;  // for messages and the command line, e.g. "PNG"
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int pageCount = 1;
};

// Reads format, size and depth from the file's header alone, without decoding the picture.
// Throws EPictureError for a file that cannot be read, whose format is unknown (CMS, SCM, CMP
// and EMF among them), or whose header declares more than kMaxPicturePixels. The messages begin
// with the file's name. keepWaiting is asked now and then while a slow decoder works.
PictureInfo GetFileInfo(const std::string& path, const KeepWaiting& keepWaiting = {});

// Decodes the whole picture (the first frame or page) to 32-bit pixels, Format_RGB32 or
// Format_ARGB32 when the file has transparency. Throws EPictureError for unknown, damaged,
// truncated or oversized files; never crashes on them.
QImage LoadPicture(const std::string& path, const KeepWaiting& keepWaiting = {});

// The same two for a whole file already in memory, for callers that hold bytes rather than a
// file. extension (".TGA", upper case) stands in for the file's name, which only formats without
// a signature need. The messages name no file.
PictureInfo GetPictureInfo(std::span<const uint8_t> data, const std::string& extension,
                           const KeepWaiting& keepWaiting = {});
QImage DecodePicture(std::span<const uint8_t> data, const std::string& extension,
                     const KeepWaiting& keepWaiting = {});

}  // namespace tovak
