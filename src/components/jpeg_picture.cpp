#include "components/jpeg_picture.h"

#include "common/memory_stream.h"
#include "components/jpeg_cleaning.h"
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
  orientation_ = 1;
  recolour_ = false;
  const JpegHeader header = ReadJpegHeader(stream_.data(), stream_.size());
  width_ = header.width;
  height_ = header.height;
  // Done when the stream is asked for: a picture that is shrunk or re-encoded anyway is decoded
  // upright and in sRGB at the size it needs, never at full size first.
  orientation_ = header.orientation;
  recolour_ = header.cmyk || header.foreignColours;
}

void JpegPicture::Normalise() {
  if (!NeedsNormalising()) return;
  // Players show CMYK and profiled colours each in their own way, or not at all, and not every
  // one reads the orientation tag: an upright sRGB picture looks the same everywhere. The
  // lossless turn needs whole blocks at the edges that move.
  std::vector<uint8_t> turned;
  if (!recolour_) turned = TurnJpegUpright(stream_.data(), stream_.size(), orientation_);
  if (turned.empty() && !recolour_) {
    turned = ReencodeJpegUpright(stream_.data(), stream_.size(), orientation_, kKeptJpegQuality);
  }
  if (turned.empty()) {
    try {
      turned = EncodeJpeg(DecodeJpeg(stream_.data(), stream_.size()), kKeptJpegQuality);
    } catch (const EPictureError&) {
      // A stream that does not decode is stored as it came, as every kept picture was.
      turned = stream_;
    }
  }
  stream_ = std::move(turned);
  orientation_ = 1;
  recolour_ = false;
}

void JpegPicture::KeepAsStored() {
  if (holdsPixels_ || stream_.empty()) return;
  // An eighth-size decode still reads every scan to its end, so a stream cut short or broken
  // fails here as it would in the players, for a fraction of a full decode's time and memory.
  DecodeJpeg(stream_.data(), stream_.size(), 1, 1);
  if (NeedsNormalising()) {
    Normalise();
    return;
  }
  std::vector<uint8_t> clean = JpegWithoutExtras(stream_.data(), stream_.size());
  // A stream that decodes but whose segments cannot be followed (a stray marker inside a scan,
  // which the decoder passes over) is drawn anew rather than lost.
  if (clean.empty())
    clean = EncodeJpeg(DecodeJpeg(stream_.data(), stream_.size()), kKeptJpegQuality);
  stream_ = std::move(clean);
}

void JpegPicture::Assign(QImage pixels) {
  pixels_ = std::move(pixels);
  holdsPixels_ = true;
  orientation_ = 1;
  recolour_ = false;
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
  Normalise();
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
