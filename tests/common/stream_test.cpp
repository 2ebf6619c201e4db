#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/file_stream.h"
#include "common/files.h"
#include "common/memory_stream.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(MemoryStream, ReadsWritesAndSeeksLikeAFile) {
  TMemoryStream s;
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(s.Write(abc, 3), 3);
  EXPECT_EQ(s.Position(), 3);
  EXPECT_EQ(s.Seek(1, TStream::soFromBeginning), 1);
  uint8_t two[2] = {};
  EXPECT_EQ(s.Read(two, 5), 2);
  EXPECT_EQ(two[1], 'c');
  EXPECT_EQ(s.Read(two, 1), 0);
  EXPECT_LT(s.Seek(-10, TStream::soFromCurrent), 0);
  EXPECT_EQ(s.Position(), 3);

  // A write after a seek past the end leaves zeros in the gap.
  EXPECT_EQ(s.Seek(2, TStream::soFromEnd), 5);
  EXPECT_EQ(s.Write(abc, 1), 1);
  EXPECT_EQ(s.Bytes(), (Bytes{'a', 'b', 'c', 0, 0, 'a'}));
  EXPECT_EQ(s.Size(), 6);
}

TEST(MemoryStream, LoadsAndSavesWholeFiles) {
  testing::TempDir dir;
  const Bytes data = {1, 2, 3, 0, 255};
  TMemoryStream s{Bytes(data)};
  ASSERT_TRUE(s.SaveToFile(dir.File("a.bin")));
  TMemoryStream loaded;
  ASSERT_TRUE(loaded.LoadFromFile(dir.File("a.bin")));
  EXPECT_EQ(loaded.Bytes(), data);
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_FALSE(loaded.LoadFromFile(dir.File("missing")));
  EXPECT_EQ(loaded.Size(), 0);
  EXPECT_FALSE(s.SaveToFile(dir.File("no/such/folder/a.bin")));
}

TEST(FileStream, OpensOnlyWhatItShould) {
  testing::TempDir dir;
  TFileStream f;
  EXPECT_FALSE(f.Open(dir.File("missing"), TFileStream::Mode::Read));
  EXPECT_FALSE(f.Open(dir.Path().string(), TFileStream::Mode::Read));  // a folder
  EXPECT_FALSE(f.IsOpen());
  EXPECT_LT(f.Read(nullptr, 1), 0);
  EXPECT_LT(f.Size(), 0);

  ASSERT_TRUE(f.Open(dir.File("x"), TFileStream::Mode::Create));
  EXPECT_EQ(f.Write("hello", 5), 5);
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(FileSize(dir.File("x")), 5);

  ASSERT_TRUE(f.Open(dir.File("x"), TFileStream::Mode::Read));
  EXPECT_EQ(f.Size(), 5);
  char buffer[8] = {};
  EXPECT_EQ(f.Seek(3, TStream::soFromBeginning), 3);
  EXPECT_EQ(f.Read(buffer, 8), 2);
  EXPECT_EQ(f.Read(buffer, 8), 0);
  EXPECT_LT(f.Write("no", 2), 2);  // read-only

  // Creating truncates.
  ASSERT_TRUE(f.Open(dir.File("x"), TFileStream::Mode::Create));
  EXPECT_EQ(f.Size(), 0);
}

// Positions are 64-bit on every build: a 32-bit offset would put a byte written at 4 GiB + 5 at 5.
// The file is sparse, so it costs no disk space.
TEST(FileStream, KeepsBinaryBytesAndOffsetsPastFourGiB) {
  testing::TempDir dir;
  const std::string path = dir.File("big \xC3\xBC.bin");
  const int64_t far = (int64_t{1} << 32) + 5;
  const char binary[] = "\r\n\x1A\n\r";
  TFileStream f;
  ASSERT_TRUE(f.Open(path, TFileStream::Mode::Create));
  EXPECT_EQ(f.Write(binary, 5), 5);
  ASSERT_EQ(f.Seek(far, TStream::soFromBeginning), far);
  EXPECT_EQ(f.Write("x", 1), 1);
  EXPECT_EQ(f.Size(), far + 1);
  ASSERT_TRUE(f.Close());

  ASSERT_TRUE(f.Open(path, TFileStream::Mode::Read));
  EXPECT_EQ(f.Size(), far + 1);
  char got[6] = {};
  EXPECT_EQ(f.Read(got, 6), 6);
  EXPECT_EQ(std::string(got, 6), std::string(binary, 5) + '\0');
  EXPECT_EQ(f.Seek(-1, TStream::soFromEnd), far);
  EXPECT_EQ(f.Read(got, 6), 1);
  EXPECT_EQ(got[0], 'x');
  EXPECT_EQ(FileSize(path), far + 1);
  // Memory cannot hold it on a 32-bit build: refused, never loaded cut short.
  if (sizeof(size_t) < 8) {
    EXPECT_FALSE(TMemoryStream().LoadFromFile(path));
  }
}

TEST(Files, SizeExistenceAndDeletion) {
  testing::TempDir dir;
  EXPECT_EQ(FileSize(dir.File("none")), -1);
  EXPECT_EQ(FileSize(dir.Path().string()), -1);
  testing::WriteBytes(dir.File("f"), Bytes(10, 7));
  EXPECT_EQ(FileSize(dir.File("f")), 10);
  EXPECT_TRUE(FileExists(dir.File("f")));
  EXPECT_TRUE(DeleteFileIfExists(dir.File("f")));
  EXPECT_FALSE(DeleteFileIfExists(dir.File("f")));
  EXPECT_FALSE(FileExists(dir.File("f")));
  // Folders and devices are never deleted.
  EXPECT_FALSE(DeleteFileIfExists(dir.Path().string()));
  EXPECT_FALSE(DeleteFileIfExists("/dev/null"));
  // Only regular files count as files, also through a symbolic link.
  EXPECT_FALSE(FileExists(dir.Path().string()));
  EXPECT_FALSE(FileExists("/dev/null"));
  testing::WriteBytes(dir.File("g"), Bytes(1, 7));
  std::filesystem::create_symlink(dir.File("g"), dir.File("link"));
  EXPECT_TRUE(FileExists(dir.File("link")));
}

TEST(Streams, CopyMovesEverythingOrACount) {
  const Bytes data(200000, 9);
  TMemoryStream from{Bytes(data)};
  TMemoryStream to;
  EXPECT_EQ(CopyStream(from, to, 10), 10);
  EXPECT_EQ(CopyStream(from, to), 199990);
  EXPECT_EQ(to.Bytes(), data);
}

}  // namespace
}  // namespace tovak
