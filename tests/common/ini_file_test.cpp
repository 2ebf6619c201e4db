#include "common/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/full_disk.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

TEST(IniFile, ReadsLikeTheProfileFunctions) {
  testing::TempDir dir;
  const std::string path = dir.File("a.ini");
  WriteText(path,
            "[Tovak! Settings]\r\n"
            "Last Folder = /home/me/Pictures \r\n"
            "Quoted=\"  spaced  \"\r\n"
            "Count=12\r\n"
            "Negative=-7\r\n"
            "Hex=$1F\r\n"
            "Hex2=0x10\r\n"
            "Word=twelve\r\n"
            "Partly=12abc\r\n"
            "Empty=\r\n"
            "Huge=99999999999\r\n"
            "Flag=2\r\n");
  const IniFile ini(path);
  EXPECT_TRUE(ini.Loaded());
  EXPECT_TRUE(ini.SectionExists("TOVAK! SETTINGS"));
  EXPECT_EQ(ini.ReadString("tovak! settings", "last folder", "x"), "/home/me/Pictures");
  EXPECT_EQ(ini.ReadString("Tovak! Settings", "Quoted", "x"), "  spaced  ");
  EXPECT_EQ(ini.ReadString("Tovak! Settings", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadString("Nowhere", "Count", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Count", 0), 12);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Negative", 0), -7);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Hex2", 0), 16);
  // Not a number: the default, never a half-read value.
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Word", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Partly", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Tovak! Settings", "Huge", 5), 5);
  EXPECT_TRUE(ini.ReadBool("Tovak! Settings", "Flag", false));
  EXPECT_TRUE(ini.ReadBool("Tovak! Settings", "Word", true));
  EXPECT_FALSE(ini.ReadBool("Tovak! Settings", "Nothing", false));
}

TEST(IniFile, IntegersAtTheEdgesOfTheRange) {
  int32_t v = 99;
  EXPECT_TRUE(ParseProfileInteger("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_TRUE(ParseProfileInteger("2147483647", v));
  EXPECT_EQ(v, INT32_MAX);
  EXPECT_TRUE(ParseProfileInteger("-$10", v));
  EXPECT_EQ(v, -16);
  for (const char* text :
       {"2147483648", "-2147483649", "--5", "+-5", "-+5", "$-5", "0x-5", "-", "$", "0x",
        "--9223372036854775808", "-9223372036854775808", "18446744073709551616"}) {
    v = 99;
    EXPECT_FALSE(ParseProfileInteger(text, v)) << text;
    EXPECT_EQ(v, 99) << text;
  }
}

TEST(IniFile, AMissingFileGivesDefaults) {
  testing::TempDir dir;
  const IniFile ini(dir.File("none.ini"));
  EXPECT_FALSE(ini.Loaded());
  EXPECT_EQ(ini.ReadInteger("S", "K", 42), 42);
  EXPECT_EQ(ini.ReadString("S", "K", "d"), "d");
}

TEST(IniFile, WritingCreatesTheFileAndKeepsOtherKeys) {
  testing::TempDir dir;
  const std::string path = dir.File("settings.ini");
  IniFile first(path);
  ASSERT_TRUE(first.WriteString("Appearance", "Banner", "1"));
  ASSERT_TRUE(first.WriteInteger("Slideshow Settings", "CompactImageQuality", 50));

  // Someone else writes in between; neither loses the other's keys.
  IniFile second(path);
  ASSERT_TRUE(second.WriteBool("Appearance", "ShowBanner", false));
  ASSERT_TRUE(first.WriteString("appearance", "banner", "0"));

  const IniFile check(path);
  EXPECT_EQ(check.ReadString("Appearance", "Banner", ""), "0");
  EXPECT_EQ(check.ReadInteger("Slideshow Settings", "CompactImageQuality", 0), 50);
  EXPECT_FALSE(check.ReadBool("Appearance", "ShowBanner", true));
  EXPECT_TRUE(check.ValueExists("Appearance", "ShowBanner"));

  IniFile nowhere(dir.File("no/such/folder/x.ini"));
  EXPECT_FALSE(nowhere.WriteString("S", "K", "V"));
}

// A write that does not fit replaces nothing and says so; a linked file is written through.
TEST(IniFile, AFailedWriteKeepsTheOldFileWhole) {
  testing::TempDir dir;
  const std::string path = dir.File("Tovak! Settings.ini");
  const std::string folder(3000, 'f');
  WriteText(path, "[Tovak! Settings]\nLast Folder=" + folder +
                      "\n[Slideshow Settings]\n"
                      "CreationMode = 1\n");
  IniFile ini(path);
  {
    testing::FullDisk full(2048);
    EXPECT_FALSE(ini.WriteInteger("Slideshow Settings", "CreationMode", 0));
  }
  const IniFile check(path);
  EXPECT_EQ(check.ReadInteger("Slideshow Settings", "CreationMode", -1), 1);
  EXPECT_EQ(check.ReadString("Tovak! Settings", "Last Folder", ""), folder);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary left behind";

  // A folder of that name is no settings file: defaults, and a write that fails.
  std::filesystem::create_directory(dir.File("folder.ini"));
  IniFile notAFile(dir.File("folder.ini"));
  EXPECT_EQ(notAFile.ReadInteger("S", "K", 7), 7);
  EXPECT_FALSE(notAFile.WriteInteger("S", "K", 1));

  std::filesystem::create_symlink(path, dir.File("link.ini"));
  ASSERT_TRUE(IniFile(dir.File("link.ini")).WriteInteger("Slideshow Settings", "CreationMode", 0));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(IniFile(path).ReadInteger("Slideshow Settings", "CreationMode", -1), 0);
}

}  // namespace
}  // namespace tovak
