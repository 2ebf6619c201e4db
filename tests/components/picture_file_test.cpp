#include "components/picture_file.h"

#include <Magick++.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <chrono>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "common/files.h"
#include "components/jpeg_codec.h"
#include "components/magick_decoder.h"
#include "components/picture_error.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

// Red on the left half, blue on the right.
QImage Sample(int width = 64, int height = 48) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, x < width / 2 ? 0xFFFF0000 : 0xFF0000FF);
  }
  return image;
}

Bytes WithQt(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  EXPECT_TRUE(writer.write(image)) << format;
  return Bytes(data.begin(), data.end());
}

Magick::Image ToMagick(const QImage& image) {
  StartMagick();
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  Magick::Image m(rgba.width(), rgba.height(), "RGBA", Magick::CharPixel, rgba.constBits());
  m.matte(image.hasAlphaChannel());
  return m;
}

Bytes BlobBytes(const Magick::Blob& blob) {
  const auto* p = static_cast<const uint8_t*>(blob.data());
  return Bytes(p, p + blob.length());
}

Bytes WithMagick(const QImage& image, const std::string& coder, bool palette = false) {
  Magick::Image m = ToMagick(image);
  if (palette) m.type(Magick::PaletteType);
  m.magick(coder);
  Magick::Blob blob;
  m.write(&blob);
  return BlobBytes(blob);
}

void Put16(Bytes& out, int v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, int(v & 0xFFFF));
  Put16(out, int(v >> 16));
}

// A placeable metafile of 2 x 1.33 inches (1440 units an inch): a red rectangle on the left
// half, a blue one on the right.
Bytes Metafile() {
  Bytes records;
  auto record = [&](int function, std::vector<int> params) {
    Put32(records, uint32_t(3 + params.size()));
    Put16(records, function);
    for (int p : params) Put16(records, p);
  };
  record(0x020B, {0, 0});           // SetWindowOrg
  record(0x020C, {1920, 2880});     // SetWindowExt: height, width
  record(0x02FA, {5, 0, 0, 0, 0});  // CreatePenIndirect: no outline
  record(0x012D, {0});
  record(0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid red
  record(0x012D, {1});
  record(0x041B, {1920, 1440, 0, 0});      // Rectangle: bottom, right, top, left
  record(0x02FC, {0, 0x0000, 0x00FF, 0});  // solid blue
  record(0x012D, {2});
  record(0x041B, {1920, 2880, 0, 1440});
  record(0x0000, {});  // end of file

  Bytes out;
  Put32(out, 0x9AC6CDD7);
  for (int v : {0, 0, 0, 2880, 1920, 1440}) Put16(out, v);
  Put32(out, 0);
  int checksum = 0;
  for (int i = 0; i < 10; ++i) checksum ^= out[2 * i] | out[2 * i + 1] << 8;
  Put16(out, checksum);
  for (int v : {1, 9, 0x0300}) Put16(out, v);
  Put32(out, uint32_t((18 + records.size()) / 2));
  Put16(out, 3);
  Put32(out, 8);
  Put16(out, 0);
  out.insert(out.end(), records.begin(), records.end());
  return out;
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes PostScript(const std::string& box = "0 0 100 50") {
  return Text("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: " + box +
              "\n1 0 0 setrgbcolor 0 0 50 50 rectfill\n"
              "0 0 1 setrgbcolor 50 0 50 50 rectfill\nshowpage\n%%EOF\n");
}

struct Case {
  std::string file;
  PictureFormat format;
  std::function<Bytes()> make;
  QSize size = {64, 48};
  int tolerance = 0;  // lossy formats
  QImage::Format decoded = QImage::Format_RGB32;
};

std::vector<Case> Cases() {
  const QImage p = Sample();
  return {
      {"photo.png", PictureFormat::Png, [p] { return WithQt(p, "png"); }},
      {"photo.bmp", PictureFormat::Bmp, [p] { return WithQt(p, "bmp"); }},
      // Icons carry a transparency mask.
      {"photo.ico",
       PictureFormat::Ico,
       [p] { return WithQt(p, "ico"); },
       {64, 48},
       0,
       QImage::Format_ARGB32},
      {"photo.tif", PictureFormat::Tiff, [p] { return WithMagick(p, "TIFF"); }},
      {"photo.gif", PictureFormat::Gif, [p] { return WithMagick(p, "GIF"); }},
      {"photo.tga", PictureFormat::Tga, [p] { return WithMagick(p, "TGA"); }},
      {"photo.jpg", PictureFormat::Jpeg, [p] { return EncodeJpeg(p, 90); }, {64, 48}, 40},
      {"photo.pcx", PictureFormat::Pcx, [p] { return WithMagick(p, "PCX"); }},
      {"colours.pcx", PictureFormat::Pcx, [p] { return WithMagick(p, "PCX", true); }},
      {"photo.pct", PictureFormat::Pict, [p] { return WithMagick(p, "PICT"); }},
      // Photo CD holds the picture at fixed sizes; the base image is the one to show.
      {"photo.pcd",
       PictureFormat::Pcd,
       [] { return WithMagick(Sample(768, 512), "PCD"); },
       {768, 512},
       60},
      // Vector pictures at 96 dots an inch.
      {"drawing.wmf", PictureFormat::Wmf, [] { return Metafile(); }, {192, 128}},
      {"drawing.eps", PictureFormat::Eps, [] { return PostScript(); }, {133, 67}},
      // PostScript behind a binary header with a preview picture, as DOS programs wrote it.
      {"preview.eps", PictureFormat::Eps, [p] { return WithMagick(p, "EPT"); }, {85, 64}},
  };
}

void ExpectColour(const QImage& image, int x, int y, QRgb want, int tolerance) {
  const QRgb got = image.pixel(x, y);
  EXPECT_NEAR(qRed(got), qRed(want), tolerance) << x << "," << y;
  EXPECT_NEAR(qGreen(got), qGreen(want), tolerance) << x << "," << y;
  EXPECT_NEAR(qBlue(got), qBlue(want), tolerance) << x << "," << y;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EPictureError& e) {
    return e.what();
  }
  return "no error";
}

class PictureFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir_.File(name);
    tovak::testing::WriteBytes(path, bytes);
    return path;
  }

  tovak::testing::TempDir dir_;
};

TEST_F(PictureFileTest, ReadsEveryFormat) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.file);
    const std::string path = Write(c.file, c.make());
    const PictureInfo info = GetFileInfo(path);
    EXPECT_EQ(info.format, c.format);
    EXPECT_FALSE(info.formatName.empty());
    EXPECT_EQ(QSize(info.width, info.height), c.size);
    EXPECT_GT(info.bitsPerPixel, 0);
    EXPECT_EQ(info.pageCount, 1);

    const QImage image = LoadPicture(path);
    ASSERT_EQ(image.size(), c.size);
    EXPECT_EQ(image.format(), c.decoded);
    const int y = c.size.height() / 2;
    ExpectColour(image, c.size.width() / 4, y, qRgb(255, 0, 0), c.tolerance);
    ExpectColour(image, c.size.width() * 3 / 4, y, qRgb(0, 0, 255), c.tolerance);
  }
}

TEST(PictureBytesTest, MemoryReadsAsTheFileWould) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.file);
    const PictureInfo info = GetPictureInfo(c.make(), UpperExtension(c.file));
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(QSize(info.width, info.height), c.size);
  }
  // Targa is known by its name alone.
  const Bytes tga = WithMagick(Sample(), "TGA");
  EXPECT_EQ(DecodePicture(tga, ".TGA").pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(ErrorOf([&] { DecodePicture(tga, ".TXT"); }),
            "the file is not a picture of a kind this program can read");
  EXPECT_EQ(ErrorOf([&] { GetPictureInfo(Bytes(40, 0), ".CMS"); }),
            "pictures of this kind (CMS) cannot be read");
}

TEST_F(PictureFileTest, DepthComesFromTheHeader) {
  EXPECT_EQ(GetFileInfo(Write("a.png", WithQt(Sample(), "png"))).bitsPerPixel, 24);
  EXPECT_EQ(GetFileInfo(Write("a.bmp", WithQt(Sample(), "bmp"))).bitsPerPixel, 24);
  const QImage grey = Sample().convertToFormat(QImage::Format_Grayscale8);
  EXPECT_EQ(GetFileInfo(Write("g.png", WithQt(grey, "png"))).bitsPerPixel, 8);
}

TEST_F(PictureFileTest, TransparencyGivesArgb) {
  QImage clear = Sample().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) clear.setPixel(x, y, 0);
  }
  clear.setPixel(20, 20, qRgba(255, 0, 0, 128));
  const QImage png = LoadPicture(Write("clear.png", WithQt(clear, "png")));
  EXPECT_EQ(png.format(), QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(png.pixel(5, 5)), 0);
  EXPECT_EQ(png.pixel(20, 20), qRgba(255, 0, 0, 128));
  EXPECT_EQ(png.pixel(40, 20), qRgba(0, 0, 255, 255));

  clear.setPixel(20, 20, qRgb(255, 0, 0));  // GIF has no partial transparency
  const QImage gif = LoadPicture(Write("clear.gif", WithMagick(clear, "GIF")));
  EXPECT_EQ(gif.format(), QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(gif.pixel(5, 5)), 0);
  EXPECT_EQ(gif.pixel(20, 20), qRgb(255, 0, 0));
}

TEST_F(PictureFileTest, ContentDecidesNotTheName) {
  const std::string png = Write("really-a-png.jpg", WithQt(Sample(), "png"));
  EXPECT_EQ(GetFileInfo(png).format, PictureFormat::Png);
  EXPECT_EQ(LoadPicture(png).size(), QSize(64, 48));
  const std::string jpeg = Write("really-a-jpeg.bmp", EncodeJpeg(Sample(), 90));
  EXPECT_EQ(GetFileInfo(jpeg).format, PictureFormat::Jpeg);
  EXPECT_EQ(LoadPicture(jpeg).size(), QSize(64, 48));
}

TEST_F(PictureFileTest, MultiFrameFilesCountPagesAndGiveTheFirst) {
  for (const std::string coder : {"GIF", "TIFF"}) {
    SCOPED_TRACE(coder);
    std::list<Magick::Image> frames = {ToMagick(Sample()),
                                       ToMagick(Sample().mirrored(true, false))};
    for (Magick::Image& frame : frames) frame.magick(coder);
    Magick::Blob blob;
    Magick::writeImages(frames.begin(), frames.end(), &blob);
    const std::string path = Write("moving." + coder, BlobBytes(blob));
    EXPECT_EQ(GetFileInfo(path).pageCount, 2);
    ExpectColour(LoadPicture(path), 10, 10, qRgb(255, 0, 0), 0);
  }
}

TEST_F(PictureFileTest, ProprietaryKindsAreRefused) {
  Bytes emf(128, 0);
  emf[0] = 1;
  emf[40] = ' ', emf[41] = 'E', emf[42] = 'M', emf[43] = 'F';
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"scan.cms", Text("not ours to read")},
      {"scan.scm", Text("not ours to read")},
      {"scan.cmp", Text("not ours to read")},
      {"chart.emf", emf},
      {"chart.wmf", emf},  // an enhanced metafile under the older name
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const std::string path = Write(name, bytes);
    const std::string info = ErrorOf([&] { GetFileInfo(path); });
    EXPECT_EQ(info.rfind(name + " : ", 0), 0u) << info;
    EXPECT_NE(info.find("cannot be read"), std::string::npos) << info;
    EXPECT_NE(ErrorOf([&] { LoadPicture(path); }).find("cannot be read"), std::string::npos);
  }
}

TEST_F(PictureFileTest, GarbageUnderEveryNameFails) {
  Bytes garbage(4000);
  uint32_t seed = 12345;
  for (uint8_t& b : garbage) b = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  for (const char* ext : {"png", "jpg", "bmp", "gif", "tif", "ico", "tga", "pcx", "pct", "pcd",
                          "wmf", "eps", "psd", "txt"}) {
    SCOPED_TRACE(ext);
    const std::string path = Write(std::string("noise.") + ext, garbage);
    EXPECT_THROW(GetFileInfo(path), EPictureError);
    EXPECT_THROW(LoadPicture(path), EPictureError);
  }
}

TEST_F(PictureFileTest, TruncatedFilesFail) {
  for (const Case& c : Cases()) {
    if (c.format == PictureFormat::Eps) continue;  // PostScript draws what it has; see below
    const Bytes whole = c.make();
    for (size_t length : {size_t{1}, size_t{8}, size_t{20}, whole.size() / 4, whole.size() / 3}) {
      SCOPED_TRACE(c.file + " cut to " + std::to_string(length));
      const std::string path = Write(c.file, Bytes(whole.begin(), whole.begin() + length));
      const std::string error = ErrorOf([&] { LoadPicture(path); });
      EXPECT_EQ(error.rfind(c.file + " : ", 0), 0u) << error;
      if (length <= 8) {
        EXPECT_THROW(GetFileInfo(path), EPictureError);
      }
    }
  }
}

TEST_F(PictureFileTest, PcxCutInsideItsPaletteFails) {
  const Bytes pcx = WithMagick(Sample(), "PCX", true);
  ASSERT_EQ(pcx[3] * pcx[65], 8);  // one 8-bit plane: the palette follows the pixels
  const std::string path = Write("cut.pcx", Bytes(pcx.begin(), pcx.end() - 100));
  EXPECT_THROW(LoadPicture(path), EPictureError);
}

TEST_F(PictureFileTest, InfoReadsOnlyTheHeader) {
  const Bytes png = WithQt(Sample(), "png");
  const std::string path = Write("cut.png", Bytes(png.begin(), png.end() - 20));
  const PictureInfo info = GetFileInfo(path);
  EXPECT_EQ(QSize(info.width, info.height), QSize(64, 48));
  EXPECT_THROW(LoadPicture(path), EPictureError);
}

TEST_F(PictureFileTest, BrokenPostScriptFails) {
  const std::string path = Write("broken.eps", Text("%!PS-Adobe-3.0 EPSF-3.0\n"
                                                    "%%BoundingBox: 0 0 40 40\n"
                                                    "0 0 40 40 rectfill nosuchoperator\n"));
  EXPECT_THROW(LoadPicture(path), EPictureError);
}

TEST_F(PictureFileTest, OversizedHeadersFailBeforeDecoding) {
  Bytes bmp = WithQt(Sample(), "bmp");
  bmp[18] = bmp[22] = 0x20, bmp[19] = bmp[23] = 0x4E;  // 20000 x 20000
  Bytes pcx = WithMagick(Sample(), "PCX");
  pcx[8] = pcx[10] = 0x1F, pcx[9] = pcx[11] = 0x4E;  // last column and row 19999
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"huge.bmp", bmp},
      {"huge.pcx", pcx},
      // Ghostscript would spend minutes drawing this before anyone could refuse it.
      {"huge.eps", PostScript("0 0 100000 100000")},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const std::string path = Write(name, bytes);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(ErrorOf([&] { GetFileInfo(path); }).find("too large"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { LoadPicture(path); }).find("too large"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
}

TEST_F(PictureFileTest, UnreasonableBoundingBoxesAreRefused) {
  // Numbers a double holds but no picture size does; none may reach Ghostscript.
  const std::vector<std::pair<std::string, std::string>> boxes = {
      {"0 0 inf 100", "damaged"},
      {"-inf 0 0 100", "damaged"},
      {"0 0 nan 100", "damaged"},
      {"nan nan nan nan", "damaged"},
      {"0 0 1e300 100", "too large"},
      {"-1e300 -1e300 0 0", "too large"},
      {"-1.7e308 0 1.7e308 1", "too large"},  // the width itself overflows
      {"0 0 1e200 1e200", "too large"},       // so does the area
      {"0 0 3e9 4e9", "too large"},           // an area beyond 64 bits
  };
  for (const auto& [box, want] : boxes) {
    SCOPED_TRACE(box);
    const std::string path = Write("box.eps", PostScript(box));
    for (const std::string& error :
         {ErrorOf([&] { GetFileInfo(path); }), ErrorOf([&] { LoadPicture(path); })}) {
      EXPECT_EQ(error.rfind("box.eps : ", 0), 0u) << error;
      EXPECT_NE(error.find(want), std::string::npos) << error;
      EXPECT_EQ(error.find('-'), std::string::npos) << error;  // no wrapped-around size
    }
  }
}

TEST_F(PictureFileTest, PortraitPhotoCdIsTurnedUpright) {
  Bytes pcd = WithMagick(Sample(), "PCD");
  pcd[0x0E02] = (pcd[0x0E02] & ~3) | 1;
  const std::string path = Write("portrait.pcd", pcd);
  const PictureInfo info = GetFileInfo(path);
  EXPECT_EQ(QSize(info.width, info.height), QSize(512, 768));
  EXPECT_EQ(LoadPicture(path).size(), QSize(512, 768));
}

TEST_F(PictureFileTest, MissingFilesAndFoldersFail) {
  const std::string missing = dir_.File("gone.png");
  EXPECT_EQ(ErrorOf([&] { LoadPicture(missing); }).rfind("gone.png : ", 0), 0u);
  EXPECT_THROW(GetFileInfo(missing), EPictureError);
  EXPECT_THROW(LoadPicture(dir_.Path().string()), EPictureError);
  EXPECT_THROW(GetFileInfo(Write("empty.png", {})), EPictureError);
}

}  // namespace
}  // namespace tovak
