#include "components/jpeg_codec.h"

#include <gtest/gtest.h>

#include "components/jpeg_picture.h"
#include "components/picture_error.h"
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
