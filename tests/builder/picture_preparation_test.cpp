#include "builder/picture_preparation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "components/jpeg_cleaning.h"
#include "components/jpeg_codec.h"
#include "components/jpeg_markers.h"
#include "components/picture_error.h"
#include "support/exif_jpeg.h"
#include "support/libjpeg_writer.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(FitRect, KeepsProportionsWithTheStoredRounding) {
  struct Case {
    int w, h, maxW, maxH, newW, newH;
  };
  const Case cases[] = {
      {1000, 1000, 640, 480, 479, 480},  // 0.48 lies just below its double
      {2592, 1944, 1152, 864, 1151, 864}, {1600, 1200, 640, 480, 640, 480},
      {1200, 1600, 640, 480, 359, 480},   {800, 600, 640, 480, 640, 480},
      {3000, 2000, 1024, 768, 1024, 682}, {4000, 3000, 420, 255, 340, 255},
      {4000, 1000, 640, 480, 640, 160},
  };
  for (const Case& c : cases) {
    const TRect r = FitRect(c.w, c.h, c.maxW, c.maxH);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, c.newW) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
    EXPECT_EQ(r.bottom, c.newH) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
  }
}

TEST(PicturePreparation, OnlyDotJpgLoadsDirectly) {
  EXPECT_FALSE(PicturePreparation::NeedsConversion("/a/b/photo.jpg"));
  EXPECT_FALSE(PicturePreparation::NeedsConversion("PHOTO.JPG"));
  EXPECT_FALSE(PicturePreparation::NeedsConversion("x.jPg"));
  EXPECT_TRUE(PicturePreparation::NeedsConversion("photo.jpeg"));
  EXPECT_TRUE(PicturePreparation::NeedsConversion("photo.JPE"));
  EXPECT_TRUE(PicturePreparation::NeedsConversion("photo.jpg.png"));
  EXPECT_TRUE(PicturePreparation::NeedsConversion("jpg"));
}

class Prepare : public ::testing::Test {
 protected:
  std::string Jpeg(const std::string& name, int w, int h, int quality = 90) {
    const std::string path = dir.File(name);
    testing::WriteBytes(path, EncodeJpeg(testing::PhotoLike(w, h), quality));
    return path;
  }

  testing::TempDir dir;
  PicturePreparation prep;
  JpegPicture picture;
};

TEST_F(Prepare, AJpgWithinTheLimitsIsStoredByteForByte) {
  const std::string path = Jpeg("small.JPG", 600, 400);
  prep.MaxWidth = 640;
  prep.MaxHeight = 480;
  PicturePreparation::Load(path, picture);
  EXPECT_FALSE(prep.NeedsResize(picture));
  EXPECT_FALSE(prep.Finish(picture));
  EXPECT_EQ(picture.Bytes(), testing::ReadBytes(path));

  // Exactly at the limits is not too large either.
  PicturePreparation::Load(Jpeg("exact.jpg", 640, 480), picture);
  EXPECT_FALSE(prep.NeedsResize(picture));
}

TEST_F(Prepare, QualityReencodesEvenAnUntouchedJpg) {
  const std::string path = Jpeg("small.jpg", 300, 200, 95);
  prep.Quality = 75;
  PicturePreparation::Load(path, picture);
  prep.Finish(picture);
  const Bytes original = testing::ReadBytes(path);
  EXPECT_NE(picture.Bytes(), original);
  EXPECT_EQ(picture.Bytes(), EncodeJpeg(DecodeJpeg(original.data(), original.size()), 75));
  EXPECT_EQ(picture.CompressionQuality, 75);
}

// Kept: a fitting JPEG despite Quality. Prepared as usual: one too large, one sideways, and
// codings other than baseline or progressive.
TEST_F(Prepare, KeepingFittingJpegsSkipsOnlyTheReencodeOfThoseThatFit) {
  prep.MaxWidth = 640;
  prep.MaxHeight = 480;
  prep.Quality = 75;
  prep.KeepFittingJpegs = true;
  const std::string path = Jpeg("fits.jpg", 300, 200, 95);
  PicturePreparation::Load(path, picture);
  EXPECT_FALSE(prep.Finish(picture));
  EXPECT_EQ(picture.Bytes(), testing::ReadBytes(path));

  PicturePreparation::Load(Jpeg("large.jpg", 1600, 1200), picture);
  EXPECT_TRUE(prep.Finish(picture));
  EXPECT_EQ(picture.Width(), 640);

  const Bytes sideways = testing::JpegWithOrientation(testing::PhotoLike(40, 30), 6);
  testing::WriteBytes(dir.File("sideways.jpg"), sideways);
  PicturePreparation::Load(dir.File("sideways.jpg"), picture);
  prep.Finish(picture);
  EXPECT_NE(picture.Bytes(), sideways);

  Bytes coded = EncodeJpeg(testing::PhotoLike(40, 30), 90);
  EXPECT_TRUE(IsBaselineOrProgressiveJpeg(coded));
  for (size_t at = 2; at + 1 < coded.size(); ++at)
    if (coded[at] == 0xFF && coded[at + 1] == 0xC0) coded[at + 1] = 0xC9;  // arithmetic coding
  EXPECT_FALSE(IsBaselineOrProgressiveJpeg(coded));
  EXPECT_FALSE(IsBaselineOrProgressiveJpeg({0xFF, 0xD8, 0xFF}));
}

bool Holds(const Bytes& bytes, const Bytes& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

// What is kept of a JPEG is what draws it: its scans byte for byte, the same pixels, nothing of
// its comments, camera data or what follows its end. One that does not decode is not kept.
TEST_F(Prepare, AKeptJpegIsDecodedFirstAndKeepsOnlyWhatDrawsIt) {
  const Bytes gps = {'G', 'P', 'S', ' ', '5', '2', '.', '3', '7', 'N'};
  Bytes exif = testing::ExifOrientationMarker(1);
  exif.insert(exif.end(), gps.begin(), gps.end());
  testing::LibjpegOptions o;
  o.progressive = true;
  o.markers.push_back({0xE1, exif});
  for (int i = 0; i < 320; ++i) o.markers.push_back({0xFE, Bytes(65533, 'c')});  // 20 MB
  const Bytes jpeg = testing::EncodeWithLibjpeg(testing::PhotoLike(300, 200), o);
  const Bytes trailer = {'P', 'K', 3, 4, '<', 'h', 't', 'm', 'l', '>'};
  Bytes sent = jpeg;
  sent.insert(sent.end(), trailer.begin(), trailer.end());
  const std::string path = dir.File("sent.jpg");
  testing::WriteBytes(path, sent);
  const QImage pixels = DecodeJpeg(jpeg.data(), jpeg.size());
  // From the first table to the end of the picture: the tables, the frame and every scan.
  size_t tables = 2;
  while (jpeg[tables] != 0xFF || jpeg[tables + 1] != 0xDB) ++tables;
  const Bytes drawn(jpeg.begin() + ptrdiff_t(tables), jpeg.end());

  prep.MaxWidth = 640;
  prep.MaxHeight = 480;
  for (const int quality : {0, 75}) {
    prep.Quality = quality;
    prep.KeepFittingJpegs = quality != 0;
    PicturePreparation::Load(path, picture);
    EXPECT_FALSE(prep.Finish(picture));
    const Bytes kept = picture.Bytes();
    // The start of the picture and its JFIF marker, then the rest as it came.
    ASSERT_EQ(kept.size(), 2 + 18 + drawn.size()) << quality;
    EXPECT_EQ(Bytes(kept.begin() + 20, kept.end()), drawn) << quality;
    EXPECT_FALSE(Holds(kept, gps)) << quality;
    EXPECT_FALSE(Holds(kept, trailer)) << quality;
    EXPECT_EQ(DecodeJpeg(kept.data(), kept.size()), pixels) << quality;
    EXPECT_EQ(JpegWithoutExtras(kept.data(), kept.size()), kept) << quality;
  }

  const Bytes cut(jpeg.begin(), jpeg.end() - 2000);
  testing::WriteBytes(dir.File("cut.jpg"), cut);
  for (const int quality : {0, 75}) {
    prep.Quality = quality;
    prep.KeepFittingJpegs = quality != 0;
    PicturePreparation::Load(dir.File("cut.jpg"), picture);
    EXPECT_THROW(prep.Finish(picture), EPictureError) << quality;
  }

  // A stray marker inside a scan: the decoder passes over it, the cleaning cannot follow it, and
  // the picture is drawn anew instead of being lost.
  Bytes stray = testing::EncodeWithLibjpeg(testing::PhotoLike(64, 48), {});
  size_t scan = 2;
  while (stray[scan] != 0xFF || stray[scan + 1] != 0xDA) ++scan;
  const Bytes marker = {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
  stray.insert(stray.begin() + ptrdiff_t(scan + 60), marker.begin(), marker.end());
  testing::WriteBytes(dir.File("stray.jpg"), stray);
  ASSERT_NO_THROW(DecodeJpeg(stray.data(), stray.size()));
  ASSERT_TRUE(JpegWithoutExtras(stray.data(), stray.size()).empty());
  prep.Quality = 0;
  prep.KeepFittingJpegs = false;
  PicturePreparation::Load(dir.File("stray.jpg"), picture);
  EXPECT_NO_THROW(prep.Finish(picture));
  EXPECT_EQ(ReadJpegHeader(picture.Bytes().data(), picture.Bytes().size()).width, 64);

  // Turned pictures are not kept as they are, but the orientation would survive the cleaning.
  const Bytes sideways = testing::JpegWithOrientation(testing::PhotoLike(40, 30), 6);
  const Bytes clean = JpegWithoutExtras(sideways.data(), sideways.size());
  EXPECT_EQ(ReadJpegMarkers(clean.data(), clean.size()).orientation, 6);
}

TEST_F(Prepare, ShrinksToTheExactSizeByAveraging) {
  prep.MaxWidth = 640;
  prep.MaxHeight = 480;
  PicturePreparation::Load(Jpeg("portrait.jpg", 1200, 1600), picture);
  EXPECT_TRUE(prep.Finish(picture));
  const Bytes stored = picture.Bytes();
  const JpegHeader header = ReadJpegHeader(stored.data(), stored.size());
  EXPECT_EQ(header.width, 359);
  EXPECT_EQ(header.height, 480);

  // One-pixel stripes average to grey; a plain stretch would keep black or white pixels.
  QImage stripes(1280, 960, QImage::Format_RGB32);
  for (int y = 0; y < stripes.height(); ++y)
    for (int x = 0; x < stripes.width(); ++x)
      stripes.setPixel(x, y, (x % 2) ? 0xFFFFFFFF : 0xFF000000);
  ASSERT_TRUE(stripes.save(QString::fromStdString(dir.File("stripes.png"))));
  PicturePreparation::Load(dir.File("stripes.png"), picture);
  prep.Finish(picture);
  const Bytes encoded = picture.Bytes();
  const QImage small = DecodeJpeg(encoded.data(), encoded.size());
  ASSERT_EQ(small.width(), 640);
  for (int x = 100; x < 110; ++x) EXPECT_NEAR(qGray(small.pixel(x, 200)), 128, 24) << x;
}

TEST_F(Prepare, APhotoTaggedSidewaysIsShrunkUpright) {
  // Stored as 800 x 400 with a red left edge, to be shown turned a quarter clockwise: red on top.
  QImage stored(800, 400, QImage::Format_RGB32);
  stored.fill(0xFF808080);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 40; ++x) stored.setPixel(x, y, 0xFFFF0000);
  const std::string path = dir.File("phone.jpg");
  testing::WriteBytes(path, testing::JpegWithOrientation(stored, 6));
  prep.MaxWidth = 640;
  prep.MaxHeight = 480;
  for (const int quality : {0, 80}) {
    prep.Quality = quality;
    PicturePreparation::Load(path, picture);
    EXPECT_TRUE(prep.Finish(picture));
    const Bytes bytes = picture.Bytes();
    EXPECT_EQ(ReadJpegMarkers(bytes.data(), bytes.size()).orientation, 1);
    const QImage upright = DecodeJpeg(bytes.data(), bytes.size());
    ASSERT_EQ(upright.size(), QSize(239, 480)) << quality;  // the stored rounding
    EXPECT_NEAR(qRed(upright.pixel(120, 5)), 255, 24) << quality;
    EXPECT_NEAR(qRed(upright.pixel(5, 240)), 128, 24) << quality;
  }
}

TEST_F(Prepare, ConvertedPicturesAreEncodedAtTheDefaultQuality) {
  // ".jpeg" is converted, so it is stored as a new encoding even with no quality set.
  std::filesystem::copy_file(Jpeg("a.jpg", 200, 100), dir.File("a.jpeg"));
  PicturePreparation::Load(dir.File("a.jpeg"), picture);
  EXPECT_TRUE(picture.HoldsPixels());
  prep.Finish(picture);
  const QImage pixels = DecodeJpeg(testing::ReadBytes(dir.File("a.jpg")).data(),
                                   testing::ReadBytes(dir.File("a.jpg")).size());
  EXPECT_EQ(picture.Bytes(), EncodeJpeg(pixels, kDefaultJpegQuality));

  // Transparency is laid on white.
  QImage clear(20, 20, QImage::Format_ARGB32);
  clear.fill(Qt::transparent);
  ASSERT_TRUE(clear.save(QString::fromStdString(dir.File("clear.png"))));
  PicturePreparation::Load(dir.File("clear.png"), picture);
  const Bytes white = picture.Bytes();
  EXPECT_GT(qGray(DecodeJpeg(white.data(), white.size()).pixel(10, 10)), 245);
}

TEST_F(Prepare, AJpgThatIsNotAJpegKeepsItsBytes) {
  const Bytes junk = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  testing::WriteBytes(dir.File("fake.jpg"), junk);
  EXPECT_THROW(PicturePreparation::Load(dir.File("fake.jpg"), picture), EPictureError);
  EXPECT_EQ(picture.Bytes(), junk);
  // A file that cannot be read at all leaves the previous picture.
  EXPECT_THROW(PicturePreparation::Load(dir.File("missing.jpg"), picture), EPictureError);
  EXPECT_EQ(picture.Bytes(), junk);
}

}  // namespace
}  // namespace tovak
