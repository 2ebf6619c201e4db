#include "components/jpeg_codec.h"

#include <gtest/gtest.h>

#include <chrono>

#include "components/jpeg_picture.h"
#include "components/jpeg_scans.h"
#include "components/picture_error.h"
#include "components/picture_file.h"
#include "support/libjpeg_writer.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

// Replaces the frame size in a baseline JPEG's SOF0 marker.
Bytes WithDeclaredSize(Bytes jpeg, int width, int height) {
  for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = uint8_t(height >> 8);
      jpeg[i + 6] = uint8_t(height);
      jpeg[i + 7] = uint8_t(width >> 8);
      jpeg[i + 8] = uint8_t(width);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no SOF0 marker";
  return jpeg;
}

TEST(JpegCodec, RoundTripAndScaledDecoding) {
  const Bytes jpeg = EncodeJpeg(testing::PhotoLike(800, 600), 85);
  const JpegHeader header = ReadJpegHeader(jpeg.data(), jpeg.size());
  EXPECT_EQ(header.width, 800);
  EXPECT_EQ(header.height, 600);
  const QImage full = DecodeJpeg(jpeg.data(), jpeg.size());
  EXPECT_EQ(full.size(), QSize(800, 600));
  EXPECT_NEAR(qRed(full.pixel(400, 300)), qRed(testing::PhotoLike(800, 600).pixel(400, 300)), 8);

  // The smallest scale still covering the asked size: 1/8 is 100x75, 1/4 is 200x150.
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), 100, 75).size(), QSize(100, 75));
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), 101, 60).size(), QSize(200, 150));
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), 799, 1).size(), QSize(800, 600));
  // Never enlarged.
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), 2000, 2000).size(), QSize(800, 600));
}

TEST(JpegCodec, RefusesDamagedAndOversizedStreams) {
  const Bytes jpeg = EncodeJpeg(testing::PhotoLike(320, 240), 85);
  const Bytes notJpeg = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  EXPECT_THROW(ReadJpegHeader(notJpeg.data(), notJpeg.size()), EPictureError);
  EXPECT_THROW(ReadJpegHeader(jpeg.data(), 3), EPictureError);
  for (size_t cut : {size_t{20}, jpeg.size() / 3, jpeg.size() - 10}) {
    EXPECT_THROW(DecodeJpeg(jpeg.data(), cut), EPictureError) << cut;
  }
  const Bytes huge = WithDeclaredSize(jpeg, 20000, 20000);
  EXPECT_THROW(ReadJpegHeader(huge.data(), huge.size()), EPictureError);
  EXPECT_THROW(DecodeJpeg(huge.data(), huge.size()), EPictureError);
  EXPECT_THROW(EncodeJpeg(QImage(), 75), EPictureError);
}

// A progressive grey picture with its last scan (a few bytes of end-of-band runs) repeated.
Bytes ScanBomb(int side, int repeats) {
  testing::LibjpegOptions o;
  o.components = 1;
  o.progressive = true;
  QImage grey(side, side, QImage::Format_RGB32);
  grey.fill(0xFF808080);
  const Bytes jpeg = testing::EncodeWithLibjpeg(grey, o);
  size_t at = 2, last = 0;
  while (jpeg[at + 1] != 0xD9) {
    if (jpeg[at + 1] == 0xDA) {
      last = at;
      at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
      while (jpeg[at] != 0xFF || jpeg[at + 1] == 0 || (jpeg[at + 1] & 0xF8) == 0xD0) ++at;
    } else {
      at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
  }
  Bytes bomb(jpeg.begin(), jpeg.begin() + ptrdiff_t(at));
  for (int i = 0; i < repeats; ++i)
    bomb.insert(bomb.end(), jpeg.begin() + ptrdiff_t(last), jpeg.begin() + ptrdiff_t(at));
  bomb.insert(bomb.end(), {0xFF, 0xD9});
  return bomb;
}

// Every way into the decoder refuses a stream that would hold it for seconds, at once; real
// progressive pictures and a small picture with an odd script still decode.
TEST(JpegCodec, RefusesScanBombs) {
  const Bytes many = ScanBomb(256, 300);    // more scans than any script writes
  const Bytes heavy = ScanBomb(3000, 100);  // 106 passes over 9 megapixels
  for (const Bytes* bomb : {&many, &heavy}) {
    const auto start = std::chrono::steady_clock::now();
    try {
      DecodeJpeg(bomb->data(), bomb->size());
      ADD_FAILURE() << "decoded";
    } catch (const EPictureError& e) {
      EXPECT_NE(e.Message().find("too many scans"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(DecodeJpeg(bomb->data(), bomb->size(), 1, 1), EPictureError);
    EXPECT_THROW(ReadJpegHeader(bomb->data(), bomb->size()), EPictureError);
    EXPECT_THROW(ReencodeJpegUpright(bomb->data(), bomb->size(), 6, 90), EPictureError);
    EXPECT_TRUE(TurnJpegUpright(bomb->data(), bomb->size(), 3).empty());
    EXPECT_THROW(DecodePicture(*bomb, ".JPG"), EPictureError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  }

  testing::LibjpegOptions o;
  o.progressive = true;
  const Bytes progressive = testing::EncodeWithLibjpeg(testing::PhotoLike(2000, 1500), o);
  const JpegScans scans = CountJpegScans(progressive.data(), progressive.size());
  EXPECT_EQ(scans.count, 10u);  // the standard script for colour
  EXPECT_FALSE(TooManyJpegScans(scans));
  EXPECT_EQ(DecodeJpeg(progressive.data(), progressive.size()).size(), QSize(2000, 1500));
  const Bytes odd = ScanBomb(200, 200);
  EXPECT_EQ(DecodeJpeg(odd.data(), odd.size()).size(), QSize(200, 200));
}

TEST(JpegPicture, HoldsAStreamOrPixels) {
  JpegPicture picture;
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.CompressionQuality, kDefaultJpegQuality);
  const Bytes jpeg = EncodeJpeg(testing::PhotoLike(64, 48), 90);
  picture.LoadFromBytes(jpeg);
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_FALSE(picture.HoldsPixels());
  EXPECT_EQ(picture.Bytes(), jpeg);

  picture.Assign(testing::PhotoLike(30, 20));
  EXPECT_TRUE(picture.HoldsPixels());
  EXPECT_EQ(picture.Height(), 20);
  picture.CompressionQuality = 40;
  EXPECT_EQ(picture.Bytes(), EncodeJpeg(testing::PhotoLike(30, 20), 40));
  EXPECT_FALSE(picture.HoldsPixels());
}

}  // namespace
}  // namespace tovak
