#include "components/psd_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/picture_error.h"
#include "components/picture_file.h"
#include "support/pack_bits.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Plane = std::vector<uint8_t>;

struct PsdShape {
  int width = 5;
  int height = 3;
  int mode = 3;  // RGB
  int depth = 8;
  int channels = 3;
  int compression = 0;
  int layerCount = 0;  // negative: the merged result carries transparency
  int version = 1;
  std::vector<uint8_t> colourData;
};

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v >> 16);
  Put16(out, v & 0xFFFF);
}

// planes[c] holds channel c's rows one after the other, as the file stores them.
std::vector<uint8_t> BuildPsd(const PsdShape& s, const std::vector<Plane>& planes) {
  std::vector<uint8_t> out = {'8', 'B', 'P', 'S'};
  Put16(out, s.version);
  out.insert(out.end(), 6, 0);
  Put16(out, s.channels);
  Put32(out, s.height);
  Put32(out, s.width);
  Put16(out, s.depth);
  Put16(out, s.mode);
  Put32(out, uint32_t(s.colourData.size()));
  out.insert(out.end(), s.colourData.begin(), s.colourData.end());
  Put32(out, 0);  // no image resources
  if (s.layerCount == 0) {
    Put32(out, 0);
  } else {
    Put32(out, 10);
    Put32(out, 2);
    Put16(out, uint16_t(int16_t(s.layerCount)));
    Put32(out, 0);
  }
  Put16(out, s.compression);
  const size_t rowBytes = s.depth == 1 ? (s.width + 7) / 8 : size_t(s.width) * s.depth / 8;
  if (s.compression == 0) {
    for (const Plane& p : planes) out.insert(out.end(), p.begin(), p.end());
    return out;
  }
  std::vector<std::vector<uint8_t>> rows;
  for (const Plane& p : planes) {
    for (int y = 0; y < s.height; ++y)
      rows.push_back(testing::PackBits(p.data() + y * rowBytes, rowBytes));
  }
  for (const auto& r : rows) Put16(out, unsigned(r.size()));
  for (const auto& r : rows) out.insert(out.end(), r.begin(), r.end());
  return out;
}

// A picture whose every pixel differs: red grows to the right, green downwards, blue is flat
// (so the packed rows hold both literal and repeated runs).
QRgb Expected(int x, int y) {
  return qRgb(x * 60, y * 100, 200);
}

Plane Channel(const PsdShape& s, int channel) {
  Plane p;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const QRgb c = Expected(x, y);
      const int v = channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
      if (s.depth == 16) Put16(p, unsigned(v) * 257);  // so that it comes back exactly
      if (s.depth == 8) p.push_back(uint8_t(v));
    }
  }
  return p;
}

std::vector<uint8_t> Sample(const PsdShape& s) {
  std::vector<Plane> planes;
  for (int c = 0; c < s.channels; ++c) planes.push_back(Channel(s, c));
  return BuildPsd(s, planes);
}

QImage Decode(const std::vector<uint8_t>& file) {
  return DecodePsd(file.data(), file.size());
}

std::string ErrorOf(const std::vector<uint8_t>& file) {
  try {
    Decode(file);
  } catch (const EPictureError& e) {
    return e.what();
  }
  return "no error";
}

TEST(PsdReaderTest, DecodesRgbAndGreyAtBothDepthsRawAndPacked) {
  for (int mode : {1, 3}) {
    for (int depth : {8, 16}) {
      for (int compression : {0, 1}) {
        SCOPED_TRACE("mode " + std::to_string(mode) + " depth " + std::to_string(depth) +
                     " compression " + std::to_string(compression));
        PsdShape s;
        s.mode = mode;
        s.depth = depth;
        s.compression = compression;
        s.channels = mode == 3 ? 3 : 1;
        const QImage image = Decode(Sample(s));
        ASSERT_EQ(image.size(), QSize(s.width, s.height));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        for (int y = 0; y < s.height; ++y) {
          for (int x = 0; x < s.width; ++x) {
            const QRgb e = Expected(x, y);
            const QRgb want = mode == 3 ? e : qRgb(qRed(e), qRed(e), qRed(e));
            ASSERT_EQ(image.pixel(x, y), want) << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(PsdReaderTest, IndexedAndBitmapDocuments) {
  PsdShape indexed;
  indexed.mode = 2;
  indexed.channels = 1;
  indexed.colourData.assign(768, 0);
  indexed.colourData[7] = 10;        // red of entry 7
  indexed.colourData[256 + 7] = 20;  // green
  indexed.colourData[512 + 7] = 30;  // blue
  const QImage colours = Decode(BuildPsd(indexed, {Plane(15, 7)}));
  EXPECT_EQ(colours.pixel(4, 2), qRgb(10, 20, 30));

  PsdShape bitmap;
  bitmap.mode = 0;
  bitmap.depth = 1;
  bitmap.channels = 1;
  bitmap.width = 10;  // two bytes a row, the second partly used
  bitmap.compression = 1;
  const QImage bits = Decode(BuildPsd(bitmap, {{0x80, 0x40, 0x00, 0x00, 0xFF, 0xC0}}));
  EXPECT_EQ(bits.pixel(0, 0), qRgb(0, 0, 0));  // a set bit is black
  EXPECT_EQ(bits.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_EQ(bits.pixel(9, 0), qRgb(0, 0, 0));
  EXPECT_EQ(bits.pixel(9, 1), qRgb(255, 255, 255));
  EXPECT_EQ(bits.pixel(9, 2), qRgb(0, 0, 0));
}

TEST(PsdReaderTest, ExtraChannelIsAlphaOnlyWhenTheDocumentSaysSo) {
  PsdShape s;
  s.width = 2;
  s.height = 1;
  s.channels = 4;
  // Pixel 0 is opaque; pixel 1 is half-transparent pure red, stored blended onto white.
  const std::vector<Plane> planes = {{10, 255}, {20, 127}, {30, 127}, {255, 128}};
  const QImage opaque = Decode(BuildPsd(s, planes));
  EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
  EXPECT_EQ(opaque.pixel(1, 0), qRgb(255, 127, 127));

  s.layerCount = -1;
  const QImage transparent = Decode(BuildPsd(s, planes));
  EXPECT_EQ(transparent.format(), QImage::Format_ARGB32);
  EXPECT_EQ(transparent.pixel(0, 0), qRgba(10, 20, 30, 255));
  const QRgb half = transparent.pixel(1, 0);
  EXPECT_EQ(qAlpha(half), 128);
  EXPECT_EQ(qRed(half), 255);
  EXPECT_LE(qGreen(half), 2);
  EXPECT_LE(qBlue(half), 2);
}

TEST(PsdReaderTest, UnsupportedKindsSayWhy) {
  PsdShape s;
  s.version = 2;
  EXPECT_NE(ErrorOf(Sample(s)).find("PSB"), std::string::npos);
  s = {};
  s.mode = 4;
  s.channels = 4;
  EXPECT_NE(ErrorOf(Sample(s)).find("CMYK"), std::string::npos);
  s = {};
  s.depth = 32;
  EXPECT_NE(ErrorOf(BuildPsd(s, {})).find("32 bits"), std::string::npos);
  s = {};
  s.compression = 2;
  EXPECT_NE(ErrorOf(BuildPsd(s, {})).find("ZIP"), std::string::npos);
}

TEST(PsdReaderTest, ImpossibleHeadersAreRefusedBeforeAnyPixels) {
  auto withHeader = [](auto edit) {
    std::vector<uint8_t> file = Sample(PsdShape{});
    edit(file);
    return file;
  };
  EXPECT_NE(ErrorOf(withHeader([](auto& f) { f[0] = 'X'; })), "no error");
  EXPECT_NE(ErrorOf(withHeader([](auto& f) { f[13] = 0; })), "no error");  // no channels
  EXPECT_NE(ErrorOf(withHeader([](auto& f) { f[13] = 2; })), "no error");  // RGB needs three
  EXPECT_NE(ErrorOf(withHeader([](auto& f) { f[21] = 0; })), "no error");  // zero width
  // 30001 pixels wide: beyond what a PSD may hold.
  EXPECT_NE(ErrorOf(withHeader([](auto& f) { f[20] = 0x75, f[21] = 0x31; })), "no error");

  // 20000 x 20000 declared in a file of a few hundred bytes.
  const auto huge = withHeader([](auto& f) { f[16] = f[20] = 0x4E, f[17] = f[21] = 0x20; });
  EXPECT_NE(ErrorOf(huge).find("too large"), std::string::npos);
  EXPECT_THROW(ReadPsdHeader(huge.data(), huge.size()), EPictureError);
}

TEST(PsdReaderTest, EveryTruncationFails) {
  for (int depth : {8, 16}) {
    for (int compression : {0, 1}) {
      PsdShape s;
      s.depth = depth;
      s.compression = compression;
      const std::vector<uint8_t> whole = Sample(s);
      for (size_t n = 0; n < whole.size(); ++n) {
        // A copy of exactly n bytes, so that the sanitizer sees any read past the end.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + n);
        EXPECT_THROW(DecodePsd(cut.data(), cut.size()), EPictureError) << n;
      }
    }
  }
}

TEST(PsdReaderTest, DamagedPackedRowsFail) {
  PsdShape s;
  s.compression = 1;
  const std::vector<uint8_t> good = Sample(s);
  // The row lengths follow the header, three empty sections and the compression word.
  const size_t tableStart = 26 + 4 + 4 + 4 + 2;
  const size_t dataStart = tableStart + 9 * 2;

  std::vector<uint8_t> longRows = good;
  longRows[tableStart + 1] = 0xFF;  // the first row claims more bytes than the file has
  EXPECT_THROW(Decode(longRows), EPictureError);

  std::vector<uint8_t> overflow = good;
  overflow[dataStart] = 0x81;  // repeat 128 times: far wider than the row
  EXPECT_THROW(Decode(overflow), EPictureError);

  std::vector<uint8_t> shortRow = good;
  shortRow[dataStart] = 0x80;  // a no-op where the row's first run was: the row ends short
  for (size_t i = tableStart; i < dataStart; i += 2) shortRow[i + 1] = 1;
  EXPECT_THROW(Decode(shortRow), EPictureError);
}

TEST(PsdReaderTest, LoadsThroughThePictureFunctions) {
  tovak::testing::TempDir dir;
  PsdShape s;
  s.compression = 1;
  // Named as a JPEG: the content decides.
  const std::string path = dir.File("layers.jpg");
  tovak::testing::WriteBytes(path, Sample(s));
  const PictureInfo info = GetFileInfo(path);
  EXPECT_EQ(info.format, PictureFormat::Psd);
  EXPECT_EQ(info.width, s.width);
  EXPECT_EQ(info.height, s.height);
  EXPECT_EQ(info.bitsPerPixel, 24);
  const QImage image = LoadPicture(path);
  EXPECT_EQ(image.pixel(3, 1), Expected(3, 1));

  std::vector<uint8_t> cut = Sample(s);
  cut.resize(cut.size() - 4);
  tovak::testing::WriteBytes(path, cut);
  try {
    LoadPicture(path);
    FAIL() << "a truncated file was accepted";
  } catch (const EPictureError& e) {
    EXPECT_EQ(std::string(e.what()), "layers.jpg : the picture is damaged or truncated");
  }
}

}  // namespace
}  // namespace tovak
