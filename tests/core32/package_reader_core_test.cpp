#include <gtest/gtest.h>

#include "builder/package_format.h"
#include "builder/package_reader.h"
#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"
#include "support/sample_data.h"
#include "support/sparse_package.h"
#include "support/temp_dir.h"

// The package reader without the builder (which needs Qt): a package laid out byte by byte, as
// the Windows engine finds it behind itself.
namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Packed(const Bytes& raw) {
  TMemoryStream in{Bytes(raw)}, out;
  TLzrw1Class packer;
  packer.UseStreams = true;
  packer.InputStream = &in;
  packer.OutputStream = &out;
  packer.Compress();
  return out.Bytes();
}

// A package of these records behind a small engine.
Bytes HandMade(const std::vector<Bytes>& records) {
  const Bytes engine = {'M', 'Z', 0x90, 0, 3, 0};
  Bytes package = engine;
  Bytes table;
  for (const Bytes& record : records) {
    uint8_t entry[8];
    PutLe32(entry, static_cast<uint32_t>(package.size()));
    PutLe32(entry + 4, static_cast<uint32_t>(record.size()));
    table.insert(table.end(), entry, entry + 8);
    package.insert(package.end(), record.begin(), record.end());
  }
  package.insert(package.end(), table.begin(), table.end());
  const uint8_t pictures = static_cast<uint8_t>(records.size() / 3);
  package.insert(package.end(), {0, 0, 0, 0, pictures, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0});
  return package;
}

TEST(PackageReaderCore, ReadsAHandMadePackageAndRefusesEveryCut) {
  const Bytes voice = sample::VoiceAudio(5000);
  const std::vector<Bytes> records = {
      {'j', 'p', 'g'},  Packed(voice), {'h', 'i', '\r', '\n', 'y', 'o', '\r', '\n'},
      {'p', 'n', 'g'},  Packed({}),    {},
      {'0', '\r', '\n'}};
  const Bytes package = HandMade(records);

  testing::TempDir dir;
  const std::string path = dir.File("Trip.exe");
  testing::WriteBytes(path, package);
  PackageReader reader;
  reader.Open(path);
  EXPECT_EQ(reader.PictureCount(), 2);
  EXPECT_EQ(reader.EngineSize(), 6);
  EXPECT_EQ(reader.TrailerFlag(), 1);
  EXPECT_EQ(reader.Image(1), records[3]);
  EXPECT_EQ(reader.MessageLines(0), (std::vector<std::string>{"hi", "yo"}));
  EXPECT_EQ(ExpandVoiceRecord(reader.VoiceContainer(0)), voice);
  EXPECT_TRUE(ExpandVoiceRecord(reader.VoiceContainer(1)).empty());
  EXPECT_EQ(reader.LinkMenu(), std::vector<std::string>{"0"});

  for (size_t cut = 0; cut < package.size(); ++cut) {
    testing::WriteBytes(path, Bytes(package.begin(), package.begin() + cut));
    EXPECT_FALSE(HasPackageData(path)) << cut;
  }
}

// As the 32-bit engine meets it: a message record of 1.5 GB is refused without room for it.
TEST(PackageReaderCore, ARecordBeyondItsBoundIsRefusedUnread) {
  testing::TempDir dir;
  const std::string path = dir.File("bomb.exe");
  testing::WriteInflatedPackage(HandMade({{'j'}, Packed({}), {}, {}}), 2, int64_t{1500} << 20,
                                {'h', 'i'}, path);
  PackageReader reader;
  EXPECT_THROW(reader.Open(path), EPackageError);
}

}  // namespace
}  // namespace tovak
