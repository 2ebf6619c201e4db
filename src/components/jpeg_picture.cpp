#include "components/jpeg_picture.h"

#include "common/memory_stream.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak {

JpegPicture::JpegPicture() : CompressionQuality(kDefaultJpegQuality) {}

void JpegPicture::LoadFromFile(const std::string& path) {
  TMemoryStream file;
  if (!file.LoadFromFile(path)) throw EPictureError(path + " : the file cannot be read");
  LoadFromBytes(std::move(file.Bytes()));
}

void JpegPicture::LoadFromBytes(std::vector<uint8_t> bytes) {
  stream_ = std::move(bytes);
  pixels_ = QImage();
  holdsPixels_ = false;
  width_ = height_ = 0;
  const JpegHeader header = ReadJpegHeader(stream_.data(), stream_.size());
  width_ = header.width;
  height_ = header.height;
  if (header.cmyk || header.foreignColours) {
    // Players show CMYK and profiled colours each in their own way, or not at all: stored as
    // plain sRGB they look the same everywhere.
    Reencode();
  } else if (header.orientation != 1) {
    // A stored picture must be upright without its tag, which not every player reads; the
    // lossless turn needs whole blocks at the edges that move.
    std::vector<uint8_t> turned =
        TurnJpegUpright(stream_.data(), stream_.size(), header.orientation);
    if (turned.empty()) {
      Reencode();
    } else {
      stream_ = std::move(turned);
    }
  }
}

void JpegPicture::Reencode() {
  QImage pixels = DecodeJpeg(stream_.data(), stream_.size());
  stream_ = EncodeJpeg(pixels, kKeptJpegQuality);
  width_ = pixels.width();
  height_ = pixels.height();
}

void JpegPicture::Assign(QImage pixels) {
  pixels_ = std::move(pixels);
  holdsPixels_ = true;
  stream_.clear();
  width_ = pixels_.width();
  height_ = pixels_.height();
}

QImage JpegPicture::Decode(int minWidth, int minHeight) const {
  if (holdsPixels_) return pixels_;
  if (stream_.empty()) throw EPictureError("There is no picture");
  return DecodeJpeg(stream_.data(), stream_.size(), minWidth, minHeight);
}

void JpegPicture::Compress() {
  if (!holdsPixels_) return;
  stream_ = EncodeJpeg(pixels_, CompressionQuality);
  pixels_ = QImage();
  holdsPixels_ = false;
}

const std::vector<uint8_t>& JpegPicture::Bytes() {
  Compress();
  return stream_;
}

void JpegPicture::SaveToStream(TStream& stream) {
  const std::vector<uint8_t>& bytes = Bytes();
  if (bytes.empty()) throw EPictureError("There is no picture to save");
  if (!stream.WriteAll(bytes.data(), static_cast<int64_t>(bytes.size()))) {
    throw EPictureError("The picture could not be written");
  }
}

}  // namespace tovak
