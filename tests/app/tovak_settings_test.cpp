#include "app/tovak_settings.h"

#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

TEST(TovakSettings, DefaultsFromAMissingFileAndTheSizeKeysWritten) {
  testing::TempDir dir;
  IniFile ini(dir.File("Tovak! Settings.ini"));
  TTovakSettings settings;
  settings.CompactImageIndex = 0;
  ReadSlideshowSettings(ini, settings);
  EXPECT_EQ(settings.CompactImageIndex, 2);
  EXPECT_EQ(settings.CompactImageQuality, 50);
  EXPECT_EQ(settings.FullImageIndex, 2);
  EXPECT_EQ(settings.FullImageQuality, 80);
  EXPECT_EQ(settings.CreationMode, cmCompact);

  settings.FullImageIndex = -1;  // a list confirmed without a selection
  settings.CompactImageQuality = 35;
  ASSERT_TRUE(WriteSizeSettings(ini, settings));
  TTovakSettings reread;
  ReadSlideshowSettings(IniFile(ini.Path()), reread);
  EXPECT_EQ(reread.CompactImageQuality, 35);
  EXPECT_EQ(reread.FullImageIndex, -1);
  EXPECT_EQ(GetImageSize(cmFull, reread.FullImageIndex).width, 1280);
}

}  // namespace
}  // namespace tovak
