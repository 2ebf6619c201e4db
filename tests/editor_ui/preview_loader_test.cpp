#include "editor/ui/preview_loader.h"

#include <gtest/gtest.h>

#include "components/jpeg_codec.h"
#include "components/picture_error.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// A large photo comes back at a reduced DCT scale, large enough to fill the bounds without
// enlarging. Other formats are scaled to fit; small ones stay small.
TEST(LoadPreviewImage, DecodesNoLargerThanTheBoundsNeed) {
  TempDir dir;
  const std::string jpeg = dir.File("photo.jpg");
  WriteBytes(jpeg, EncodeJpeg(testing::PhotoLike(2400, 1600), 90));

  // The smallest DCT scale that still covers the fitted size (122 x 81, then 400 x 267).
  EXPECT_EQ(LoadPreviewImage(jpeg, QSize(122, 82)).size(), QSize(300, 200));
  EXPECT_EQ(LoadPreviewImage(jpeg, QSize(200, 150), 2.0).size(), QSize(600, 400));

  const std::string png = dir.File("wide.png");
  ASSERT_TRUE(testing::PhotoLike(400, 100).save(QString::fromStdString(png)));
  EXPECT_EQ(LoadPreviewImage(png, QSize(200, 200)).size(), QSize(200, 50));
  EXPECT_EQ(LoadPreviewImage(png, QSize(1000, 1000)).size(), QSize(400, 100));
}

TEST(LoadPreviewImage, RefusesWhatIsNoPictureNamingTheFile) {
  TempDir dir;
  const std::string junk = dir.File("junk.jpg");
  WriteBytes(junk, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
  std::vector<uint8_t> cut = EncodeJpeg(testing::PhotoLike(640, 480), 90);
  cut.resize(cut.size() / 2);
  const std::string half = dir.File("half.jpg");
  WriteBytes(half, cut);

  for (const std::string& path : {junk, half, dir.File("missing.png")}) {
    try {
      LoadPreviewImage(path, QSize(122, 82));
      ADD_FAILURE() << path << " was accepted";
    } catch (const EPictureError& e) {
      const std::string name = std::filesystem::path(path).filename().string();
      EXPECT_EQ(std::string(e.what()).rfind(name + " : ", 0), 0u) << e.what();
    }
  }
}

}  // namespace
}  // namespace tovak
