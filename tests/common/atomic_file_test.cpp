#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/files.h"

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

TEST(WriteFileAtomically, NeverPutsAFileWhereSomethingElseWas) {
  TempDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(fifo, "x", 1, &error));
  EXPECT_EQ(error, "it is not a regular file");
  EXPECT_FALSE(WriteFileAtomically(dir.Path().string(), "x", 1, &error));
  EXPECT_EQ(error, "it is a folder");
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(WriteFileAtomically, TakesANameAtTheLengthLimit) {
  TempDir dir;
  const std::string path = dir.File(std::string(250, 'n') + ".exe");
  EXPECT_TRUE(WriteFileAtomically(path, "MZ", 2));
  EXPECT_EQ(ReadBytes(path).size(), 2u);
}

// What a process ended at once by a signal removes: the temporaries being written at that moment,
// whichever way they are written, and nothing else.
TEST(RegisteredTemporary, ASignalHandlerRemovesWhatIsBeingWritten) {
  TempDir dir;
  WriteBytes(dir.File("done.txt"), {'d'});
  PendingFile pending(dir.File("page.html"));
  WriteBytes(pending.Temporary(), {'p'});
  std::string inner;
  const std::filesystem::path folder = dir.File("work");
  std::filesystem::create_directory(folder);
  {
    const RegisteredTemporary work(folder.string(), RegisteredTemporary::Kind::Folder);
    const RegisteredTemporary built((folder / "built").string());
    WriteBytes((folder / "built").string(), {'b'});
    WriteFileAtomically(dir.File("done.txt"), [&](TFileStream&) {
      for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        if (IsAtomicTemporaryName(entry.path().filename().string()) &&
            entry.path() != pending.Temporary())
          inner = entry.path().string();
      RemoveRegisteredTemporaries();
      return false;
    });
  }
  EXPECT_FALSE(inner.empty());
  EXPECT_FALSE(std::filesystem::exists(inner));
  EXPECT_FALSE(std::filesystem::exists(pending.Temporary()));
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(ReadBytes(dir.File("done.txt")), std::vector<uint8_t>{'d'});

  // Once written, a name is no longer the handler's.
  WriteBytes(pending.Temporary(), {'p'});
  ASSERT_TRUE(pending.Commit());
  RemoveRegisteredTemporaries();
  EXPECT_EQ(ReadBytes(dir.File("page.html")), std::vector<uint8_t>{'p'});
}

TEST(SameFile, FollowsLinksAndIgnoresMissingNames) {
  TempDir dir;
  const std::string show = dir.File("show.exe");
  WriteBytes(show, {1});
  std::filesystem::create_symlink(show, dir.File("link.exe"));
  std::filesystem::create_hard_link(show, dir.File("hard.exe"));
  EXPECT_TRUE(SameFile(show, dir.File("link.exe")));
  EXPECT_TRUE(SameFile(show, dir.File("hard.exe")));
  EXPECT_TRUE(SameFile(show, dir.File("./show.exe")));
  EXPECT_FALSE(SameFile(show, dir.File("other.exe")));
  EXPECT_FALSE(SameFile(dir.File("a"), dir.File("a")));
}

}  // namespace
}  // namespace tovak
