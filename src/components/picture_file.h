#pragma once

#include <QImage>
#include <string>

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
// and EMF among them), or whose header declares more than kMaxPicturePixels.
PictureInfo GetFileInfo(const std::string& path);

// Decodes the whole picture (the first frame or page) to 32-bit pixels, Format_RGB32 or
// Format_ARGB32 when the file has transparency. Throws EPictureError for unknown, damaged,
// truncated or oversized files; never crashes on them.
QImage LoadPicture(const std::string& path);

}  // namespace tovak
