// Pictures: JPEG from the program's encoder and from libjpeg with the layouts the eighth-scale
// decoder handles (and a few it must refuse), Photoshop documents of every mode the reader
// knows, and PNG, BMP, ICO and GIF files.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <string>

#include "common/byte_order.h"
#include "components/jpeg_codec.h"
#include "seeds/seeds.h"
#include "support/libjpeg_writer.h"
#include "support/pack_bits.h"
#include "support/test_pictures.h"

namespace tovak::fuzz {

namespace {

void AddJpegSeeds(SeedWriter& seeds) {
  for (const QSize size : {QSize(1, 1), QSize(8, 8), QSize(17, 33), QSize(64, 48)}) {
    for (const int quality : {10, 75, 100}) {
      const std::string name = "encoder-" + std::to_string(size.width()) + "x" +
                               std::to_string(size.height()) + "-q" + std::to_string(quality);
      const Bytes jpeg = EncodeJpeg(testing::PhotoLike(size.width(), size.height()), quality);
      seeds.Add("jpeg_dc", name, jpeg);
      if (quality == 75) seeds.Add("picture", name + ".jpg", jpeg);
    }
  }
  struct Layout {
    const char* name;
    testing::LibjpegOptions options;
  };
  const Layout layouts[] = {
      {"grey", {.components = 1, .h = 1, .v = 1}},
      {"444", {.h = 1, .v = 1}},
      {"422", {.h = 2, .v = 1}},
      {"440", {.h = 1, .v = 2}},
      {"420", {}},
      {"420-restart1", {.restartInterval = 1}},
      {"444-restart5-optimised", {.h = 1, .v = 1, .restartInterval = 5, .optimize = true}},
      {"422-optimised", {.h = 2, .v = 1, .optimize = true}},
      {"progressive", {.progressive = true}},
      {"arithmetic", {.arithmetic = true}},
      {"411", {.h = 4, .v = 1}},
  };
  const QImage picture = testing::PhotoLike(40, 24);
  for (const Layout& layout : layouts) {
    seeds.Add("jpeg_dc", std::string("libjpeg-") + layout.name,
              testing::EncodeWithLibjpeg(picture, layout.options));
  }
}

// --- Photoshop -----------------------------------------------------------------------------------

void Put16(Bytes& out, unsigned v) {
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v >> 16);
  Put16(out, v & 0xFFFF);
}

struct PsdShape {
  const char* name;
  int mode;  // 0 bitmap, 1 grey, 2 indexed, 3 RGB, 4 CMYK, 8 duotone, 9 Lab
  int depth;
  int channels;
  bool packBits = false;
  bool transparent = false;  // the merged result carries an alpha channel
};

Bytes Psd(const PsdShape& s, int width, int height) {
  Bytes out = {'8', 'B', 'P', 'S'};
  Put16(out, 1);
  out.insert(out.end(), 6, 0);
  Put16(out, s.channels);
  Put32(out, height);
  Put32(out, width);
  Put16(out, s.depth);
  Put16(out, s.mode);
  if (s.mode == 2) {
    Put32(out, 768);
    for (int i = 0; i < 768; ++i) out.push_back(uint8_t(i * 7));
  } else if (s.mode == 8) {
    Put32(out, 4);
    Put32(out, 0);
  } else {
    Put32(out, 0);
  }
  Put32(out, 0);  // no image resources
  if (s.transparent) {
    Put32(out, 10);
    Put32(out, 2);
    Put16(out, uint16_t(int16_t(-1)));
    Put32(out, 0);
  } else {
    Put32(out, 0);
  }
  Put16(out, s.packBits ? 1 : 0);
  const size_t rowBytes = s.depth == 1 ? size_t(width + 7) / 8 : size_t(width) * s.depth / 8;
  std::vector<Bytes> rows;
  for (int c = 0; c < s.channels; ++c) {
    for (int y = 0; y < height; ++y) {
      Bytes row(rowBytes);
      for (size_t x = 0; x < rowBytes; ++x) row[x] = uint8_t(x * 16 + y * 8 + c * 85);
      if (y % 3 == 0) std::fill(row.begin(), row.end(), uint8_t(c * 40));  // runs for PackBits
      rows.push_back(s.packBits ? testing::PackBits(row.data(), row.size()) : row);
    }
  }
  if (s.packBits) {
    for (const Bytes& row : rows) Put16(out, unsigned(row.size()));
  }
  for (const Bytes& row : rows) out.insert(out.end(), row.begin(), row.end());
  return out;
}

void AddPsdSeeds(SeedWriter& seeds) {
  const PsdShape shapes[] = {
      {"rgb", 3, 8, 3},
      {"rgb-packbits", 3, 8, 3, true},
      {"rgba-transparent", 3, 8, 4, true, true},
      {"rgb16", 3, 16, 3},
      {"grey", 1, 8, 1, true},
      {"grey16", 1, 16, 1},
      {"indexed", 2, 8, 1, true},
      {"bitmap", 0, 1, 1},
      {"duotone", 8, 8, 1},
      {"cmyk", 4, 8, 4},
      {"lab", 9, 8, 3},
  };
  for (const PsdShape& shape : shapes) {
    const Bytes psd = Psd(shape, 13, 7);
    seeds.Add("psd", shape.name, psd);
    seeds.Add("picture", std::string(shape.name) + ".psd", psd);
  }
}

// --- Qt's formats --------------------------------------------------------------------------------

Bytes WithQt(const QImage& image, const char* format) {
  QByteArray array;
  QBuffer buffer(&array);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image)) return {};
  return Bytes(array.begin(), array.end());
}

// A GIF whose LZW codes stay at 9 bits: every pixel a literal, the table cleared well before it
// would grow.
Bytes Gif(const QImage& image, bool transparent) {
  const int w = image.width(), h = image.height();
  Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
  auto put16 = [&](int v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  put16(w);
  put16(h);
  out.insert(out.end(), {0xF7, 0, 0});  // a global table of 256 colours
  for (int i = 0; i < 256; ++i)
    out.insert(out.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)});
  if (transparent) out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, 0, 0});
  out.push_back(0x2C);
  put16(0);
  put16(0);
  put16(w);
  put16(h);
  out.push_back(0);
  out.push_back(8);  // minimum code size
  Bytes codes;
  uint32_t bits = 0;
  int count = 0;
  auto code = [&](unsigned value) {
    bits |= value << count;
    count += 9;
    while (count >= 8) {
      codes.push_back(uint8_t(bits));
      bits >>= 8;
      count -= 8;
    }
  };
  code(256);
  int sinceClear = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (++sinceClear == 100) {
        code(256);
        sinceClear = 0;
      }
      code(qGray(image.pixel(x, y)));
    }
  }
  code(257);
  if (count > 0) codes.push_back(uint8_t(bits));
  for (size_t at = 0; at < codes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), codes.begin() + at, codes.begin() + at + n);
  }
  out.insert(out.end(), {0, 0x3B});
  return out;
}

// An 8-bit run-length BMP, rows bottom-up, each ended by its marker.
Bytes BmpRle8(const QImage& image) {
  Bytes data;
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const uint8_t index = uint8_t(qGray(image.pixel(x, y)) / 32);
      if (!data.empty() && data.size() >= 2 && x > 0 && data[data.size() - 1] == index &&
          data[data.size() - 2] < 255) {
        ++data[data.size() - 2];
      } else {
        data.insert(data.end(), {1, index});
      }
    }
    data.insert(data.end(), {0, 0});
  }
  data.insert(data.end(), {0, 1});
  Bytes out(14 + 40 + 256 * 4);
  out[0] = 'B', out[1] = 'M';
  PutLe32(&out[2], uint32_t(out.size() + data.size()));
  PutLe32(&out[10], uint32_t(out.size()));
  PutLe32(&out[14], 40);
  PutLe32(&out[18], uint32_t(image.width()));
  PutLe32(&out[22], uint32_t(image.height()));
  PutLe16(&out[26], 1);
  PutLe16(&out[28], 8);
  PutLe32(&out[30], 1);
  PutLe32(&out[34], uint32_t(data.size()));
  PutLe32(&out[46], 256);
  for (int i = 0; i < 256; ++i) out[54 + 4 * i] = out[55 + 4 * i] = out[56 + 4 * i] = uint8_t(i);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void AddQtSeeds(SeedWriter& seeds) {
  const QImage photo = testing::PhotoLike(24, 16);
  QImage alpha = photo.convertToFormat(QImage::Format_ARGB32);
  for (int x = 0; x < alpha.width(); ++x) alpha.setPixel(x, 3, qRgba(x * 10, 0, 0, x * 10));
  const struct {
    const char* name;
    QImage image;
    const char* format;
  } files[] = {
      {"rgb.png", photo, "png"},
      {"alpha.png", alpha, "png"},
      {"grey.png", photo.convertToFormat(QImage::Format_Grayscale8), "png"},
      {"indexed.png", photo.convertToFormat(QImage::Format_Indexed8), "png"},
      {"mono.png", photo.convertToFormat(QImage::Format_Mono), "png"},
      {"rgb.bmp", photo, "bmp"},
      {"indexed.bmp", photo.convertToFormat(QImage::Format_Indexed8), "bmp"},
      {"mono.bmp", photo.convertToFormat(QImage::Format_Mono), "bmp"},
      {"alpha.ico", alpha.scaled(16, 16), "ico"},
  };
  for (const auto& file : files) {
    const Bytes bytes = WithQt(file.image, file.format);
    if (!bytes.empty()) seeds.Add("picture", file.name, bytes);
  }
  seeds.Add("picture", "grey.gif", Gif(photo, false));
  seeds.Add("picture", "transparent.gif", Gif(photo, true));
  seeds.Add("picture", "rle8.bmp", BmpRle8(photo));
}

}  // namespace

void AddPictureSeeds(SeedWriter& seeds) {
  AddJpegSeeds(seeds);
  AddPsdSeeds(seeds);
  AddQtSeeds(seeds);
}

}  // namespace tovak::fuzz
