#include "player/slideshow_package.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "builder/plimo.h"
#include "player/check_package.h"
#include "support/package_fixture.h"

namespace tovak {
namespace {

TEST(MessageText, EightBitTextIsTheWindowsCodePage) {
  EXPECT_EQ(DecodeMessageText("caf\xC3\xA9 \xE2\x80\x9Cok\xE2\x80\x9D"),
            QString::fromUtf8("café “ok”"));
  EXPECT_EQ(DecodeMessageText("\x93"
                              "caf\xE9\x94 \x80"
                              "5 \x85"),
            QString::fromUtf8("“café” €5 …"));
  // The bytes the code page leaves undefined keep their own value.
  const QString undefined = DecodeMessageText("\x81\x8D\x8F\x90\x9D");
  ASSERT_EQ(undefined.size(), 5);
  EXPECT_EQ(undefined[0].unicode(), 0x81);
  EXPECT_EQ(undefined[4].unicode(), 0x9D);
  // Only strict UTF-8 counts as UTF-8: a sequence cut at the end, an overlong form or an encoded
  // surrogate makes the line Windows text.
  EXPECT_EQ(DecodeMessageText("caf\xC3"), QString::fromUtf8("caf\xC3\x83"));
  EXPECT_EQ(DecodeMessageText("\xC0\xAF"), QString::fromUtf8("\xC3\x80\xC2\xAF"));
  EXPECT_EQ(DecodeMessageText("\xED\xA0\x80").size(), 3);
  EXPECT_EQ(DecodeMessageText("\xF0\x9F\x98\x80!"), QString::fromUtf8("\xF0\x9F\x98\x80!"));
}

// Two pictures, both with a message, the second with a voice.
class DamagedPackage : public ::testing::Test, protected testing::PackageFixture {
 protected:
  void SetUp() override {
    TWavStream wav;
    wav.SetFormat(TWaveFormatEx::Pcm(11025, 1, 8));
    const std::vector<uint8_t> samples(4000, 128);
    wav.Write(samples.data(), static_cast<int64_t>(samples.size()));
    wav.SaveToFile(dir.File("b.wav"));
    TPlimo builder(paths);
    builder.SetPictures({Picture("a.jpg"), Picture("b.jpg")});
    builder.SetMessages({Text("a.txt", "first"), Text("b.txt", "second")});
    builder.SetVoices({"", dir.File("b.wav")});
    ASSERT_TRUE(builder.Build()) << builder.LastError;
    path = builder.OutputFile;
    reader.Open(path);
  }

  // Overwrites bytes of the package at offset.
  void Spoil(int64_t offset, const std::string& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::string Check(int& status) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    status = CheckPackage(path, out, err);
    std::string text;
    for (std::FILE* file : {out, err}) {
      std::rewind(file);
      for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
      std::fclose(file);
    }
    return text;
  }

  std::string path;
  PackageReader reader;
};

TEST_F(DamagedPackage, TheCheckNamesThePictureWhoseVoiceIsDamaged) {
  Spoil(reader.VoiceRecord(1).offset + 4, "\xFF\xFF\xFF\x7F");  // an impossible stated size
  int status = 0;
  const std::string report = Check(status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(report.find("   1  64x48  no voice  \"first\""), std::string::npos) << report;
  EXPECT_NE(report.find("picture 2: a voice record is damaged"), std::string::npos) << report;
}

TEST_F(DamagedPackage, AnUnreadableMessageIsLeftOutAndNamedOnce) {
  SlideshowPackage package;
  package.Open(path);
  // The file shrinks under the open show: the first message is no longer there.
  std::filesystem::resize_file(path, static_cast<uint64_t>(reader.MessageRecord(0).offset));
  EXPECT_THROW(package.Message(0), Exception);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(package.ShownMessage(0).isEmpty());
  EXPECT_EQ(package.Sound(0).messageLength, 0u);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("picture 1: its message cannot be read"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

}  // namespace
}  // namespace tovak
