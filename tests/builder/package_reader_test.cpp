#include "builder/package_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "builder/package_format.h"
#include "builder/plimo.h"
#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"
#include "support/package_fixture.h"
#include "support/sample_data.h"
#include "support/sparse_package.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

class Reader : public ::testing::Test, protected testing::PackageFixture {
 protected:
  void SetUp() override {
    TPlimo builder(paths);
    picture = Picture("p.jpg");
    builder.SetPictures({picture, picture});
    builder.SetMessages({Text("m.txt", "first\nsecond"), ""});
    builder.SetVoices({});
    builder.TrailerFlag = 1;
    ASSERT_TRUE(builder.Build()) << builder.LastError;
    package = testing::ReadBytes(builder.OutputFile);
  }

  std::string Write(const Bytes& bytes) {
    const std::string path = dir.File("damaged.exe");
    testing::WriteBytes(path, bytes);
    return path;
  }

  std::string picture;
  Bytes package;
  PackageReader reader;
};

TEST_F(Reader, GivesBackEveryRecord) {
  reader.Open(Write(package));
  EXPECT_EQ(reader.PictureCount(), 2);
  EXPECT_EQ(reader.EngineSize(), static_cast<int64_t>(engine.size()));
  EXPECT_EQ(reader.TrailerFlag(), 1);
  EXPECT_EQ(reader.Image(1), testing::ReadBytes(picture));
  EXPECT_EQ(reader.MessageLines(0), (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(reader.MessageLines(1).empty());
  EXPECT_EQ(reader.VoiceContainer(0).size(), 10u);
  EXPECT_TRUE(reader.LinkMenu().empty());
}

TEST_F(Reader, RefusesDamagedPackages) {
  auto refused = [&](const Bytes& bytes) {
    try {
      reader.Open(Write(bytes));
    } catch (const EPackageError& e) {
      EXPECT_NE(e.Message().find("damaged.exe"), std::string::npos);
      return true;
    }
    return false;
  };
  // A plain engine without data, and every cut of the package.
  EXPECT_TRUE(refused(engine));
  EXPECT_TRUE(refused({}));
  for (size_t cut = 0; cut < package.size(); cut += 7)
    EXPECT_TRUE(refused(Bytes(package.begin(), package.begin() + cut))) << cut;

  const size_t trailer = package.size() - 16;
  const size_t table = trailer - 4 * 14;
  auto forged = [&](size_t at, uint32_t value) {
    Bytes copy = package;
    PutLe32(&copy[at], value);
    return copy;
  };
  EXPECT_TRUE(refused(forged(trailer + 4, 0)));           // no pictures
  EXPECT_TRUE(refused(forged(trailer + 4, 0xFFFFFFFF)));  // a count the file cannot hold
  EXPECT_TRUE(refused(forged(trailer + 4, 3)));           // the table would start elsewhere
  EXPECT_TRUE(refused(forged(trailer + 8, 4)));
  EXPECT_TRUE(refused(forged(trailer, 1)));
  EXPECT_TRUE(refused(forged(table, 0x7FFFFFF0)));      // an offset outside the file
  EXPECT_TRUE(refused(forged(table + 4, 0xFFFFFFFF)));  // a size outside the file
  EXPECT_TRUE(refused(forged(table + 8, GetLe32(&package[table + 8]) - 1)));
  EXPECT_TRUE(refused(forged(table + 4 * 13, 1)));  // the last record overlaps the table
  EXPECT_FALSE(refused(package));
}

TEST_F(Reader, VoiceRecordsExpandOrAreRefused) {
  reader.Open(Write(package));
  EXPECT_TRUE(ExpandVoiceRecord(reader.VoiceContainer(0)).empty());  // no voice: empty container
  EXPECT_THROW(ExpandVoiceRecord({'R', 'I', 'F', 'F', 0, 0, 0, 0}), EPackageError);
  EXPECT_THROW(ExpandVoiceRecord({}), EPackageError);
  const Bytes claimsMore = {0x21, 0x48, 0x5A, 0x4C, 100, 0, 0, 0, 0xC6, 0x00};
  EXPECT_THROW(ExpandVoiceRecord(claimsMore), EPackageError);
  // Only the strong form is a voice: the fast one may expand a record a thousandfold.
  const Bytes fastForm = {0x57, 0x52, 0x5A, 0x4C, 0, 0, 0, 0};
  EXPECT_THROW(ExpandVoiceRecord(fastForm), EPackageError);
  // A megabyte that claims two gigabytes is refused before anything grows.
  Bytes forged(1 << 20, 0x5A);
  PutLe32(forged.data(), 0x4C5A4821);
  PutLe32(forged.data() + 4, 0x7FFFFFFF);
  EXPECT_THROW(ExpandVoiceRecord(forged), EPackageError);
  // A size the body falls just short of is refused, also when checked before it is kept.
  const Bytes wav = sample::VoiceAudio(30000, 1);
  TMemoryStream raw{Bytes(wav)}, packed;
  TLzrw1Class packer;
  packer.UseStreams = true;
  packer.InputStream = &raw;
  packer.OutputStream = &packed;
  packer.Compress();
  Bytes container = packed.Bytes();
  for (int64_t atOnce : {int64_t{1} << 30, int64_t{0}}) {
    EXPECT_EQ(ExpandVoiceRecord(container, atOnce), wav);
    PutLe32(container.data() + 4, uint32_t(wav.size() + 1));
    EXPECT_THROW(ExpandVoiceRecord(container, atOnce), EPackageError);
    PutLe32(container.data() + 4, uint32_t(wav.size()));
  }
}

TEST_F(Reader, RecordsBeyondThePackageAreRefused) {
  PackageReader unopened;
  EXPECT_THROW(unopened.LinkMenuRecord(), EPackageError);
  EXPECT_THROW(unopened.ImageRecord(0), EPackageError);
  reader.Open(Write(package));
  EXPECT_THROW(reader.VoiceRecord(2), EPackageError);
  EXPECT_THROW(reader.MessageRecord(-1), EPackageError);
  EXPECT_NO_THROW(reader.MessageRecord(1));
}

// Sparse files: gigabytes long, a few kilobytes on disk. Each states a picture count whose
// index would fit the file; the reader must refuse without taking room for that index.
TEST_F(Reader, ForgedCountsInHugeSparseFilesAreRefused) {
  const std::string path = dir.File("sparse.exe");
  auto forge = [&](int64_t size, uint32_t pictures, const Bytes& firstEntry = {}) {
    std::filesystem::remove(path);
    {
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(engine.data()), std::streamsize(engine.size()));
    }
    std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    const int64_t records = package::IndexEntryCount(pictures) / 2;
    const int64_t tableStart = size - 16 - 8 * records;
    if (!firstEntry.empty()) {
      // Plausible ends: the first record after the engine, the last reaching the index.
      out.seekp(tableStart);
      out.write(reinterpret_cast<const char*>(firstEntry.data()), 8);
      Bytes last(8);
      PutLe32(&last[0], uint32_t(engine.size()));
      PutLe32(&last[4], uint32_t(tableStart - int64_t(engine.size())));
      out.seekp(size - 16 - 8);
      out.write(reinterpret_cast<const char*>(last.data()), 8);
    }
    Bytes trailer(16, 0);
    PutLe32(&trailer[4], pictures);
    PutLe32(&trailer[8], 3);
    out.seekp(size - 16);
    out.write(reinterpret_cast<const char*>(trailer.data()), 16);
  };
  const int64_t gigabyte = int64_t{1} << 30;
  Bytes first(8, 0);
  PutLe32(&first[0], uint32_t(engine.size()));
  for (const auto& [size, pictures, ends] :
       {std::tuple{3 * gigabyte, 100'000'000u, Bytes{}},
        std::tuple{40 * gigabyte, 1'000'000'000u, Bytes{}},
        std::tuple{gigabyte + gigabyte / 2, 60'000'000u, first},
        std::tuple{gigabyte, 40'000'000u, Bytes{}}}) {
    SCOPED_TRACE(size);
    forge(size, pictures, ends);
    EXPECT_THROW(reader.Open(path), EPackageError);
    EXPECT_EQ(reader.PictureCount(), 0);
  }
}

// A record beyond what its kind may hold is refused by every reader, at once and without
// taking room for it: the package is opened only to be refused.
TEST_F(Reader, OversizedRecordsAreRefusedBeforeTheyAreRead) {
  const int64_t megabyte = 1 << 20;
  const Bytes voiceHeader = {0x21, 0x48, 0x5A, 0x4C, 0, 0, 0, 0};
  for (const auto& [record, size, start, named] :
       {std::tuple{size_t{5}, 1500 * megabyte, Bytes{},
                   "picture 2: the message is larger than 1 MiB"},
        std::tuple{size_t{3}, 300 * megabyte, Bytes{0xFF, 0xD8},
                   "picture 2: the picture is larger than 256 MiB"},
        std::tuple{size_t{1}, 1900 * megabyte, voiceHeader,
                   "picture 1: the voice is larger than 1 GiB"},
        std::tuple{size_t{6}, 2 * megabyte, Bytes{'1'}, "the link menu is larger than 1 MiB"}}) {
    SCOPED_TRACE(named);
    const std::string path = dir.File("inflated.exe");
    testing::WriteInflatedPackage(package, record, size, start, path);
    testing::ResetPeakMemory();
    const int64_t before = testing::PeakMemory();
    const auto began = std::chrono::steady_clock::now();
    try {
      reader.Open(path);
      ADD_FAILURE() << "opened";
    } catch (const EPackageError& e) {
      EXPECT_NE(e.Message().find(std::string("inflated.exe : ") + named), std::string::npos)
          << e.Message();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(500));
    EXPECT_LT(testing::PeakMemory() - before, 100 * megabyte);
  }
  // The most a message may hold still reads.
  testing::WriteInflatedPackage(package, 5, megabyte, {'h', 'i'}, dir.File("full.exe"));
  reader.Open(dir.File("full.exe"));
  EXPECT_EQ(reader.MessageLines(1).front().substr(0, 2), "hi");
}

TEST_F(Reader, LinkMenusWithMoreLinksOrLanguagesThanAnyShowAreRefused) {
  const auto menu = [&](const std::string& text) {
    testing::WriteInflatedPackage(package, 6, int64_t(text.size()), Bytes(text.begin(), text.end()),
                                  dir.File("menu.exe"));
    reader.Open(dir.File("menu.exe"));
    return reader.LinkMenu();
  };
  EXPECT_EQ(menu("100\r\n1000\r\n").size(), 2u);
  EXPECT_THROW(menu("101\r\n1\r\n"), EPackageError);
  EXPECT_THROW(menu("1\r\n1001\r\n"), EPackageError);
  EXPECT_THROW(menu("1\r\n99999999999999999999\r\n"), EPackageError);
}

// A voice is bounded by its length in time as well as in bytes, judged from its header before
// the rest is expanded.
TEST_F(Reader, VoicesLongerOrLargerThanAShowPlaysAreRefused) {
  const auto pack = [](const Bytes& raw) {
    TMemoryStream in{Bytes(raw)}, out;
    TLzrw1Class packer;
    packer.UseStreams = true;
    packer.InputStream = &in;
    packer.OutputStream = &out;
    packer.Compress();
    return out.Bytes();
  };
  // Two hours and a second of the slowest sound a player takes: 8-bit mono at 1000 Hz.
  const auto silence = [](int64_t seconds) {
    const uint32_t n = uint32_t(seconds * 1000);
    Bytes wav = {'R', 'I', 'F', 'F', 0, 0, 0,   0,   'W', 'A',  'V', 'E', 'f', 'm',  't',
                 ' ', 16,  0,   0,   0, 1, 0,   1,   0,   0xE8, 3,   0,   0,   0xE8, 3,
                 0,   0,   1,   0,   8, 0, 'd', 'a', 't', 'a',  0,   0,   0,   0};
    PutLe32(&wav[4], 36 + n);
    PutLe32(&wav[40], n);
    wav.resize(wav.size() + n, 0x80);
    return wav;
  };
  const Bytes longest = pack(silence(package::kLongestVoiceSeconds));
  const Bytes tooLong = pack(silence(package::kLongestVoiceSeconds + 1));
  for (int64_t atOnce : {int64_t{1} << 30, int64_t{0}}) {
    EXPECT_EQ(ExpandVoiceRecord(longest, atOnce).size(), 44 + 7200 * 1000u);
    try {
      ExpandVoiceRecord(tooLong, atOnce);
      ADD_FAILURE() << "expanded";
    } catch (const EPackageError& e) {
      EXPECT_NE(e.Message().find("longer than 2 hours"), std::string::npos) << e.Message();
    }
  }
  // A size field over the bound is refused before anything is expanded.
  Bytes forged(40 << 20, 0);
  PutLe32(forged.data(), 0x4C5A4821);
  PutLe32(forged.data() + 4, 0x60000000);
  try {
    ExpandVoiceRecord(forged);
    ADD_FAILURE() << "expanded";
  } catch (const EPackageError& e) {
    EXPECT_NE(e.Message().find("more than 1 GiB"), std::string::npos) << e.Message();
  }
}

TEST(PrintableText, EscapesControlsAndKeepsLetters) {
  EXPECT_EQ(PrintableText("Grüße, 東京 \\ ok"), "Grüße, 東京 \\ ok");
  EXPECT_EQ(PrintableText("\x1b]0;owned\x07\tx\r\n\x7f"), "\\x1b]0;owned\\x07\\tx\\r\\n\\x7f");
  // A C1 control in UTF-8, a Latin-1 byte, a truncated sequence and an overlong slash.
  EXPECT_EQ(PrintableText("\xc2\x9b"
                          "2J caf\xe9 \xe6\x9d \xc0\xaf"),
            "\\u009b2J caf\\xe9 \\xe6\\x9d \\xc0\\xaf");
}

TEST_F(Reader, ThePackageIsFoundFromItsOwnEnd) {
  EXPECT_TRUE(HasPackageData(Write(package)));
  EXPECT_FALSE(HasPackageData(Write(engine)));
  EXPECT_FALSE(HasPackageData(dir.File("missing")));
}

}  // namespace
}  // namespace tovak
