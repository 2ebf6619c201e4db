#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "common/stream.h"

namespace tovak {

// The picture being prepared for a slideshow: either a JPEG stream (a ".JPG" file's own bytes,
// or the last encoding) or pixels waiting to be encoded. One object serves a whole build, each
// picture loaded into it in turn.
class JpegPicture {
 public:
  // Takes the file's bytes as the stream and reads the size from its header only. When the
  // bytes are not a JPEG it throws EPictureError, yet keeps them: saving then writes them as
  // they are. A file that cannot be read throws and leaves the object as it was. A JPEG that is
  // turned by an orientation tag, CMYK or in colours other than sRGB is made an upright sRGB
  // JPEG, losslessly where it can, when its stream is asked for.
  void LoadFromFile(const std::string& path);
  void LoadFromBytes(std::vector<uint8_t> bytes);

  // Replaces the content by pixels; they are encoded when saved or compressed.
  void Assign(QImage pixels);

  // The pixels at full size, or, for a held stream, at least minWidth x minHeight when the
  // decoder can scale down cheaply. Throws EPictureError when the stream does not decode.
  QImage Decode(int minWidth = 0, int minHeight = 0) const;

  // Readies a held stream to be stored as it came. One that does not decode to its end throws
  // EPictureError, as every player would fail on it; one that needs turning upright or other
  // colours is normalised; any other keeps its frame, tables and scans byte for byte but loses
  // what draws nothing (JpegWithoutExtras), so the pixels stay exactly as they were.
  void KeepAsStored();

  // Encodes held pixels now at CompressionQuality.
  void Compress();
  // The JPEG stream; held pixels are encoded first at CompressionQuality.
  const std::vector<uint8_t>& Bytes();
  void SaveToStream(TStream& stream);

  bool Empty() const { return !holdsPixels_ && stream_.empty(); }
  bool HoldsPixels() const { return holdsPixels_; }
  // Whether the held stream is to be turned upright or made sRGB before it is stored.
  bool NeedsNormalising() const { return !holdsPixels_ && (orientation_ != 1 || recolour_); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // 1..100; starts at the encoder's default and changes only when set.
  int CompressionQuality;

  JpegPicture();

 private:
  // Replaces a held stream that is turned, CMYK or profiled by an upright sRGB one.
  void Normalise();

  std::vector<uint8_t> stream_;
  QImage pixels_;
  bool holdsPixels_ = false;
  int orientation_ = 1;    // of the held stream
  bool recolour_ = false;  // the held stream's colours are not plain sRGB
  int width_ = 0;
  int height_ = 0;
};

}  // namespace tovak
