#include "components/psd_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "components/picture_error.h"

namespace tovak {

namespace {

enum Mode {
  kBitmap = 0,
  kGreyscale = 1,
  kIndexed = 2,
  kRgb = 3,
  kCmyk = 4,
  kMultichannel = 7,
  kDuotone = 8,
  kLab = 9,
};

constexpr size_t kHeaderSize = 26;
// Photoshop's own limit for .psd files; larger documents must be saved as .psb.
constexpr uint32_t kMaxSide = 30000;

[[noreturn]] void Damaged() {
  throw EPictureError("the picture is damaged or truncated");
}

// A big-endian cursor that refuses to step outside its buffer.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Left() const { return size_ - pos_; }
  const uint8_t* Here() const { return data_ + pos_; }
  void Skip(uint64_t n) {
    if (n > Left()) Damaged();
    pos_ += static_cast<size_t>(n);
  }
  uint16_t U16() {
    if (Left() < 2) Damaged();
    const uint16_t v = static_cast<uint16_t>(data_[pos_] << 8 | data_[pos_ + 1]);
    pos_ += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t high = U16();
    return high << 16 | U16();
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

const char* ModeName(int mode) {
  switch (mode) {
    case kBitmap:
      return "bitmap";
    case kGreyscale:
      return "greyscale";
    case kIndexed:
      return "indexed colour";
    case kRgb:
      return "RGB";
    case kCmyk:
      return "CMYK";
    case kMultichannel:
      return "multichannel";
    case kDuotone:
      return "duotone";
    case kLab:
      return "Lab";
    default:
      return "unknown";
  }
}

bool Supported(int mode, int depth) {
  switch (mode) {
    case kBitmap:
      return depth == 1;
    case kIndexed:
      return depth == 8;
    case kGreyscale:
    case kDuotone:
    case kRgb:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

int ColourChannels(int mode) {
  return mode == kRgb ? 3 : 1;
}

PsdHeader ParseHeader(Cursor& in) {
  if (in.Left() < kHeaderSize || std::memcmp(in.Here(), "8BPS", 4) != 0) {
    throw EPictureError("the file is not a Photoshop picture");
  }
  in.Skip(4);
  const int version = in.U16();
  if (version == 2) throw EPictureError("large-document Photoshop files (PSB) cannot be read");
  if (version != 1) Damaged();
  in.Skip(6);
  PsdHeader h;
  h.channels = in.U16();
  const uint32_t height = in.U32();
  const uint32_t width = in.U32();
  h.depth = in.U16();
  h.mode = in.U16();
  if (h.channels < 1 || h.channels > 56 || width == 0 || height == 0 || width > kMaxSide ||
      height > kMaxSide) {
    Damaged();
  }
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  if (!Supported(h.mode, h.depth)) {
    throw EPictureError(std::string("Photoshop pictures in ") + ModeName(h.mode) + " mode at " +
                        std::to_string(h.depth) + " bits per channel cannot be read");
  }
  if (h.channels < ColourChannels(h.mode)) Damaged();
  if (int64_t{h.width} * h.height > kMaxPicturePixels) {
    throw EPictureError("the picture is too large (" + std::to_string(h.width) + " x " +
                        std::to_string(h.height) + ")");
  }
  h.bitsPerPixel = h.depth * ColourChannels(h.mode);
  return h;
}

// PackBits, as Photoshop writes it: one call per row. A row that does not fill its width exactly
// is damage, not something to pad.
bool UnpackRow(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t dstLen) {
  size_t in = 0;
  size_t out = 0;
  while (out < dstLen) {
    if (in >= srcLen) return false;
    const int n = static_cast<int8_t>(src[in++]);
    if (n >= 0) {
      const size_t count = static_cast<size_t>(n) + 1;
      if (count > srcLen - in || count > dstLen - out) return false;
      std::memcpy(dst + out, src + in, count);
      in += count;
      out += count;
    } else if (n != -128) {
      const size_t count = static_cast<size_t>(1 - n);
      if (in >= srcLen || count > dstLen - out) return false;
      std::memset(dst + out, src[in++], count);
      out += count;
    }
  }
  return true;
}

// Gives the rows of the channels we use, decompressing them when needed.
class ChannelRows {
 public:
  ChannelRows(Cursor& in, const PsdHeader& h, int usedChannels) : h_(h) {
    rowBytes_ = h.depth == 1 ? (size_t(h.width) + 7) / 8 : size_t(h.width) * (h.depth / 8);
    const int compression = in.U16();
    const size_t rowCount = size_t(h.channels) * h.height;
    if (compression == 0) {
      if (rowBytes_ * h.height * usedChannels > in.Left()) Damaged();
      base_ = in.Here();
      return;
    }
    if (compression != 1) {
      throw EPictureError("Photoshop pictures compressed with ZIP cannot be read");
    }
    if (rowCount * 2 > in.Left()) Damaged();
    packed_ = true;
    rowStart_.resize(rowCount);
    rowLength_.resize(rowCount);
    for (size_t i = 0; i < rowCount; ++i) rowLength_[i] = in.U16();
    base_ = in.Here();
    size_t offset = 0;
    for (size_t i = 0; i < rowCount; ++i) {
      rowStart_[i] = offset;
      offset += rowLength_[i];
    }
    // Only the channels we read must be present in full; a file cut inside the extra channels
    // still holds the whole picture.
    const size_t needed =
        usedChannels < h.channels ? rowStart_[size_t(usedChannels) * h.height] : offset;
    if (needed > in.Left()) Damaged();
    row_.resize(rowBytes_);
  }

  const uint8_t* Row(int channel, int y) {
    const size_t index = size_t(channel) * h_.height + y;
    if (!packed_) return base_ + index * rowBytes_;
    if (!UnpackRow(base_ + rowStart_[index], rowLength_[index], row_.data(), rowBytes_)) {
      Damaged();
    }
    return row_.data();
  }

 private:
  const PsdHeader& h_;
  size_t rowBytes_ = 0;
  bool packed_ = false;
  const uint8_t* base_ = nullptr;
  std::vector<size_t> rowStart_;
  std::vector<size_t> rowLength_;
  std::vector<uint8_t> row_;
};

inline uint32_t Sample(const uint8_t* row, int x, int depth) {
  if (depth == 16) return (uint32_t(row[2 * x] << 8 | row[2 * x + 1]) * 255 + 32767) / 65535;
  return row[x];
}

// Photoshop stores the merged result of a transparent document blended onto white; undo that so
// the picture can be laid on any background.
void RemoveWhiteMatte(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int a = qAlpha(line[x]);
      if (a == 255) continue;
      if (a == 0) {
        line[x] = 0;
        continue;
      }
      auto unmatte = [a](int c) { return std::clamp(((c - (255 - a)) * 255 + a / 2) / a, 0, 255); };
      line[x] = qRgba(unmatte(qRed(line[x])), unmatte(qGreen(line[x])), unmatte(qBlue(line[x])), a);
    }
  }
}

}  // namespace

PsdHeader ReadPsdHeader(const uint8_t* data, size_t size) {
  Cursor in(data, size);
  return ParseHeader(in);
}

QImage DecodePsd(const uint8_t* data, size_t size) {
  Cursor in(data, size);
  const PsdHeader h = ParseHeader(in);

  const uint32_t colourDataLength = in.U32();
  const uint8_t* palette = in.Here();
  if (h.mode == kIndexed && colourDataLength < 768) Damaged();
  in.Skip(colourDataLength);
  in.Skip(in.U32());  // image resources

  // A negative layer count is Photoshop's sign that the first extra channel holds the merged
  // transparency; otherwise extra channels are selections or spot colours, not alpha.
  bool mergedAlpha = false;
  const uint32_t layerSectionLength = in.U32();
  if (layerSectionLength > in.Left()) Damaged();
  if (layerSectionLength >= 6) {
    Cursor layers(in.Here(), layerSectionLength);
    const uint32_t layerInfoLength = layers.U32();
    if (layerInfoLength >= 2) mergedAlpha = static_cast<int16_t>(layers.U16()) < 0;
  }
  in.Skip(layerSectionLength);

  const int colourChannels = ColourChannels(h.mode);
  const bool alpha = mergedAlpha && h.channels > colourChannels && h.mode != kBitmap;
  const int used = colourChannels + (alpha ? 1 : 0);
  ChannelRows rows(in, h, used);

  QImage image(h.width, h.height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) throw EPictureError("not enough memory for the picture");
  for (int y = 0; y < h.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    if (h.mode == kRgb) {
      const uint8_t* r = rows.Row(0, y);
      for (int x = 0; x < h.width; ++x) line[x] = Sample(r, x, h.depth) << 16;
      const uint8_t* g = rows.Row(1, y);
      for (int x = 0; x < h.width; ++x) line[x] |= Sample(g, x, h.depth) << 8;
      const uint8_t* b = rows.Row(2, y);
      for (int x = 0; x < h.width; ++x) line[x] |= Sample(b, x, h.depth) | 0xFF000000u;
    } else if (h.mode == kBitmap) {
      const uint8_t* bits = rows.Row(0, y);
      for (int x = 0; x < h.width; ++x) {
        line[x] = (bits[x / 8] & (0x80 >> (x % 8))) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
      }
    } else if (h.mode == kIndexed) {
      const uint8_t* index = rows.Row(0, y);
      for (int x = 0; x < h.width; ++x) {
        const int i = index[x];
        line[x] = qRgb(palette[i], palette[256 + i], palette[512 + i]);
      }
    } else {
      const uint8_t* grey = rows.Row(0, y);
      for (int x = 0; x < h.width; ++x) {
        line[x] = 0xFF000000u | Sample(grey, x, h.depth) * 0x010101u;
      }
    }
    if (alpha) {
      const uint8_t* a = rows.Row(colourChannels, y);
      for (int x = 0; x < h.width; ++x) {
        line[x] = (line[x] & 0x00FFFFFFu) | Sample(a, x, h.depth) << 24;
      }
    }
  }
  if (alpha) RemoveWhiteMatte(image);
  return image;
}

}  // namespace tovak
