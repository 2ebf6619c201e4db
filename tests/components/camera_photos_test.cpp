#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "components/jpeg_codec.h"
#include "components/jpeg_markers.h"
#include "components/jpeg_picture.h"
#include "components/picture_error.h"
#include "components/picture_file.h"
#include "support/exif_jpeg.h"
#include "support/libjpeg_writer.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kGrey = 0xFF808080;

bool Near(QRgb a, QRgb b, int tolerance = 24) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string Hex(QRgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", c & 0xFFFFFF);
  return text;
}

// Grey with a red mark in one corner of the stored pixels and a green one in another.
QImage Marked(int w, int h, int redX, int redY, int greenX, int greenY) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kGrey);
  const int m = 8;
  for (int y = 0; y < m; ++y) {
    for (int x = 0; x < m; ++x) {
      image.setPixel(redX ? w - 1 - x : x, redY ? h - 1 - y : y, kRed);
      image.setPixel(greenX ? w - 1 - x : x, greenY ? h - 1 - y : y, kGreen);
    }
  }
  return image;
}

// The upright picture is red at its top left and green at its top right.
void ExpectUpright(const QImage& image, int w, int h, const std::string& what) {
  ASSERT_EQ(image.width(), w) << what;
  ASSERT_EQ(image.height(), h) << what;
  EXPECT_TRUE(Near(image.pixel(2, 2), kRed)) << what << " " << Hex(image.pixel(2, 2));
  EXPECT_TRUE(Near(image.pixel(w - 3, 2), kGreen)) << what << " " << Hex(image.pixel(w - 3, 2));
  EXPECT_TRUE(Near(image.pixel(w / 2, h - 3), kGrey)) << what;
}

QImage DecodeStored(JpegPicture& picture) {
  const Bytes& bytes = picture.Bytes();
  const JpegMarkers markers = ReadJpegMarkers(bytes.data(), bytes.size());
  EXPECT_EQ(markers.orientation, 1);
  EXPECT_TRUE(markers.icc.empty());
  return DecodeJpeg(bytes.data(), bytes.size());
}

TEST(CameraPhotos, EveryOrientationComesOutUpright) {
  // Where the upright picture's top-left (red) and top-right (green) corners lie as stored.
  struct Case {
    int redX, redY, greenX, greenY;
  };
  const Case cases[] = {{0, 0, 1, 0}, {1, 0, 0, 0}, {1, 1, 0, 1}, {0, 1, 1, 1},
                        {0, 0, 0, 1}, {0, 1, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 1}};
  testing::TempDir dir;
  // 48 x 32 turns losslessly; 40 x 24 has partial blocks at the edges and is encoded again.
  for (const QSize upright : {QSize(48, 32), QSize(40, 24)}) {
    for (int o = 1; o <= 8; ++o) {
      const Case& c = cases[o - 1];
      const bool swap = o >= 5;
      const int sw = swap ? upright.height() : upright.width();
      const int sh = swap ? upright.width() : upright.height();
      const Bytes jpeg =
          testing::JpegWithOrientation(Marked(sw, sh, c.redX, c.redY, c.greenX, c.greenY), o);
      const std::string what =
          "orientation " + std::to_string(o) + " at " + std::to_string(upright.width());
      const std::string path = dir.File("o" + std::to_string(o) + ".jpg");
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));

      const PictureInfo info = GetFileInfo(path);
      EXPECT_EQ(QSize(info.width, info.height), upright) << what;
      ExpectUpright(LoadPicture(path), upright.width(), upright.height(), what + " decoded");
      // The editor's preview decodes at a reduced size, asked for upright.
      const QImage half =
          DecodeJpeg(jpeg.data(), jpeg.size(), upright.width() / 2, upright.height() / 2);
      EXPECT_EQ(half.size(), upright / 2) << what;

      JpegPicture kept;  // quality 0: kept as it is
      kept.LoadFromFile(path);
      EXPECT_EQ(QSize(kept.Width(), kept.Height()), upright) << what;
      ExpectUpright(DecodeStored(kept), upright.width(), upright.height(), what + " kept");
      if (o == 1) {
        EXPECT_EQ(kept.Bytes(), jpeg);  // an upright picture stays byte for byte
      }
    }
  }
}

TEST(CameraPhotos, ColoursAreStoredAsSrgb) {
  struct Case {
    const char* what;
    QRgb written;
    testing::LibjpegOptions options;
    QRgb expected;
  };
  testing::LibjpegOptions cmyk;
  cmyk.components = 4;
  cmyk.ink = true;
  testing::LibjpegOptions ycck = cmyk;
  ycck.ycck = true;
  testing::LibjpegOptions grey;
  grey.components = 1;
  testing::LibjpegOptions p3;
  Bytes marker = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
  const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
  marker.insert(marker.end(), icc.begin(), icc.end());
  p3.markers.push_back({0xE2, marker});
  const Case cases[] = {
      {"CMYK", kRed, cmyk, kRed},
      {"YCCK", 0xFF2060C0, ycck, 0xFF2060C0},
      {"grey", 0xFF606060, grey, 0xFF606060},
      // P3's (204, 102, 51) in sRGB, from the two spaces' matrices.
      {"Display P3", 0xFFCC6633, p3, 0xFFDB5E1F},
  };
  for (const Case& c : cases) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(c.written);
    const Bytes jpeg = testing::EncodeWithLibjpeg(image, c.options);
    EXPECT_TRUE(Near(DecodeJpeg(jpeg.data(), jpeg.size()).pixel(16, 16), c.expected, 8)) << c.what;
    JpegPicture kept;
    kept.LoadFromBytes(jpeg);
    const QImage stored = DecodeStored(kept);
    EXPECT_TRUE(Near(stored.pixel(16, 16), c.expected, 8))
        << c.what << " " << Hex(stored.pixel(16, 16));
    EXPECT_EQ(ReadJpegHeader(kept.Bytes().data(), kept.Bytes().size()).cmyk, false) << c.what;
  }
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Red on the left half, blue on the right, as each new kind holds it.
TEST(CameraPhotos, HeicWebPAndAvifAreRead) {
  testing::TempDir dir;
  QImage image(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) image.setPixel(x, y, x < 32 ? kRed : 0xFF0000FF);
  }
  ASSERT_TRUE(image.save(QString::fromStdString(dir.File("p.webp")), "webp", 95));
  ASSERT_TRUE(image.save(QString::fromStdString(dir.File("p.png")), "png"));
  std::vector<std::string> files = {"p.webp"};
  const std::string png = dir.File("p.png");
  const bool heifEnc = std::system("heif-enc --help >/dev/null 2>&1") != 127 * 256;
  if (!heifEnc) {
    std::printf("heif-enc is missing (libheif-examples): HEIC and AVIF are not tried\n");
  } else {
    ASSERT_EQ(std::system(("heif-enc -q 95 -o " + dir.File("p.heic") + " " + png).c_str()), 0);
    files.push_back("p.heic");
    if (std::system(("heif-enc -A -q 95 -o " + dir.File("p.avif") + " " + png + " >/dev/null 2>&1")
                        .c_str()) == 0) {
      files.push_back("p.avif");
    } else {
      std::printf("heif-enc cannot write AVIF here: AVIF is not tried\n");
    }
  }
  // A phone's wide colours, carried by a profile in PNG and HEIC alike.
  QImage wide(64, 48, QImage::Format_RGB32);
  wide.fill(0xFFCC6633);
  wide.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
  ASSERT_TRUE(wide.save(QString::fromStdString(dir.File("p3.png")), "png"));
  std::vector<std::string> p3 = {"p3.png"};
  if (heifEnc) {
    ASSERT_EQ(std::system(("heif-enc -q 95 -o " + dir.File("p3.heic") + " " + dir.File("p3.png") +
                           " >/dev/null")
                              .c_str()),
              0);
    p3.push_back("p3.heic");
  }
  for (const std::string& name : p3) {
    const QImage decoded = LoadPicture(dir.File(name));
    EXPECT_TRUE(Near(decoded.pixel(32, 24), 0xFFDB5E1F, 8))
        << name << " " << Hex(decoded.pixel(32, 24));
  }
  for (const std::string& name : files) {
    const PictureInfo info = GetFileInfo(dir.File(name));
    EXPECT_EQ(info.width, 64) << name;
    EXPECT_EQ(info.height, 48) << name;
    const QImage decoded = LoadPicture(dir.File(name));
    EXPECT_TRUE(Near(decoded.pixel(8, 24), kRed)) << name << " " << Hex(decoded.pixel(8, 24));
    EXPECT_TRUE(Near(decoded.pixel(56, 24), 0xFF0000FF)) << name;
  }
  if (heifEnc) {
    // A damaged HEIC is refused at once, naming the file.
    Bytes heic = ReadAll(dir.File("p.heic"));
    heic.resize(heic.size() / 2);
    const std::string cut = dir.File("cut.heic");
    std::ofstream(cut, std::ios::binary)
        .write(reinterpret_cast<const char*>(heic.data()), std::streamsize(heic.size()));
    const auto start = std::chrono::steady_clock::now();
    try {
      LoadPicture(cut);
      ADD_FAILURE() << "a cut HEIC decoded";
    } catch (const EPictureError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("cut.heic : ", 0), 0u) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  }
}

TEST(CameraPhotos, OnePixelPictureTurnsAndKeeps) {
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(kRed);
  JpegPicture kept;
  kept.LoadFromBytes(testing::JpegWithOrientation(dot, 6));
  EXPECT_EQ(kept.Width(), 1);
  EXPECT_TRUE(Near(DecodeStored(kept).pixel(0, 0), kRed));
}

}  // namespace
}  // namespace tovak
