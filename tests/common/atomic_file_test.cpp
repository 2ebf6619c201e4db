#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "support/full_disk.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

size_t FilesIn(const std::filesystem::path& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(WriteFileAtomically, ReplacesTheFileOrLeavesItAsItWas) {
  TempDir dir;
  const std::string path = dir.File("note.txt");
  WriteBytes(path, {'o', 'l', 'd'});

  EXPECT_TRUE(WriteFileAtomically(path, "new text", 8));
  EXPECT_EQ(ReadBytes(path), std::vector<uint8_t>({'n', 'e', 'w', ' ', 't', 'e', 'x', 't'}));

  // A writer that gives up halfway: the old content stays and no temporary is left behind.
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(
      path, [](TFileStream& f) { return f.WriteAll("half", 4) && false; }, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(path).size(), 8u);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);

  EXPECT_FALSE(WriteFileAtomically(dir.File("gone/note.txt"), "x", 1, &error));
  EXPECT_FALSE(error.empty());
}

TEST(WriteFileAtomically, AFullDiskKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("voice.wav");
  WriteBytes(path, std::vector<uint8_t>(100, 7));
  const std::vector<uint8_t> big(100000, 1);
  std::string error;
  bool written = false;
  {
    testing::FullDisk full;
    written = WriteFileAtomically(path, big.data(), static_cast<int64_t>(big.size()), &error);
  }
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(path), std::vector<uint8_t>(100, 7));
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace tovak
