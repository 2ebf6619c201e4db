#include "builder/link_menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace tovak {
namespace {

class LinkMenu : public ::testing::Test {
 protected:
  void WriteUrls(const std::string& text) { std::ofstream(dir.File(kLinkMenuFileName)) << text; }
  bool Read(int purpose) { return ReadLinkMenu(purpose, list, program); }

  testing::TempDir dir;
  std::string program = dir.File("tovak");
  std::vector<std::string> list{"stale"};
};

TEST_F(LinkMenu, NoFileMeansNoLinks) {
  EXPECT_FALSE(Read(lmPlayer));
  EXPECT_TRUE(list.empty());
  std::filesystem::create_directory(dir.File(kLinkMenuFileName));  // a folder is no file either
  EXPECT_FALSE(Read(lmPlayer));
  EXPECT_TRUE(list.empty());
}

TEST_F(LinkMenu, LinksAreLinkMajorAndLanguageMinor) {
  std::string text = "[Settings]\nUseInPlayer=1\nMenuItems=2\nLanguages=3\n";
  for (int m = 1; m <= 2; ++m) {
    text += '[';
    text += std::to_string(m);
    text += "_MenuItems]\n";
    for (int l = 1; l <= 3; ++l) {
      if (m == 2 && l == 2) continue;  // a missing caption and address
      const std::string tag = std::to_string(m) + "." + std::to_string(l);
      text += std::to_string(l) + "_Caption=Caption " + tag + "\n";
      text += std::to_string(l) + "_URL=https://example.org/" + tag + "\n";
    }
  }
  WriteUrls(text);
  EXPECT_TRUE(Read(lmPlayer));
  ASSERT_EQ(list.size(), 14u);
  EXPECT_EQ(list[0], "3");
  EXPECT_EQ(list[1], "2");
  EXPECT_EQ(list[2], "Caption 1.1");
  EXPECT_EQ(list[5], "https://example.org/1.2");
  EXPECT_EQ(list[10], "");  // link 2, language 2 keeps its place
  EXPECT_EQ(list[11], "");
  EXPECT_EQ(list[12], "Caption 2.3");
  EXPECT_EQ(list[13], "https://example.org/2.3");
}

TEST_F(LinkMenu, EachPurposeHasItsSwitch) {
  WriteUrls("[settings]\nuseinbuilder=1\nMenuItems=0\nLanguages=2\n");
  EXPECT_TRUE(Read(lmProgramMenu));
  EXPECT_EQ(list, (std::vector<std::string>{"2", "0"}));
  // The list is filled even when the switch is off.
  EXPECT_FALSE(Read(lmPlayer));
  EXPECT_EQ(list, (std::vector<std::string>{"2", "0"}));
  EXPECT_FALSE(Read(3));
}

TEST_F(LinkMenu, AbsurdCountsMeanNoMenu) {
  WriteUrls("[Settings]\nUseInPlayer=1\nMenuItems=2000000000\nLanguages=2000000000\n");
  EXPECT_FALSE(Read(lmPlayer));
  EXPECT_TRUE(list.empty());
  WriteUrls("[Settings]\nUseInPlayer=1\nMenuItems=50001\nLanguages=2\n");
  EXPECT_FALSE(Read(lmPlayer));
  EXPECT_TRUE(list.empty());
  WriteUrls("[Settings]\nUseInPlayer=1\nMenuItems=50000\nLanguages=2\n");
  EXPECT_TRUE(Read(lmPlayer));
  EXPECT_EQ(list.size(), 200002u);
  WriteUrls("[Settings]\nUseInPlayer=1\nMenuItems=-3\nLanguages=4\n");
  EXPECT_TRUE(Read(lmPlayer));
  EXPECT_EQ(list, (std::vector<std::string>{"4", "-3"}));
}

}  // namespace
}  // namespace tovak
