#include "editor/project_journal.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "editor/working_folder.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void WriteText(const std::string& path, const std::string& text) {
  testing::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(ProjectJournal, KeepsOddPathsAndEmptyEntriesExactly) {
  TempDir dir;
  const ProjectLists lists{
      {"/a b/\"quoted\".jpg", "/line\nbreak\\x.png", "/Bild Übersicht 写真.jpg"},
      {"/w/1.txt", "", std::string("/w/nul\0.txt", 11)},
      {"", "/w/2.wav", ""}};
  ASSERT_TRUE(WriteProjectJournal(dir.File("j"), lists));
  EXPECT_EQ(ReadProjectJournal(dir.File("j")), lists);
  ASSERT_TRUE(WriteProjectJournal(dir.File("j"), ProjectLists{}));
  EXPECT_EQ(ReadProjectJournal(dir.File("j")), ProjectLists{});

  std::string error;
  EXPECT_FALSE(WriteProjectJournal(dir.File("j"), {{"a", "b"}, {"", ""}, {""}}, &error));
  EXPECT_FALSE(WriteProjectJournal(dir.File("j"), {{"\xff.jpg"}, {""}, {""}}, &error));
  EXPECT_NE(error.find("UTF-8"), std::string::npos);
  EXPECT_EQ(ReadProjectJournal(dir.File("j")), ProjectLists{}) << "a refused write keeps the old";
}

TEST(ProjectJournal, DamagedFilesThrow) {
  TempDir dir;
  EXPECT_THROW(ReadProjectJournal(dir.File("missing")), EProjectJournalError);
  ASSERT_TRUE(WriteProjectJournal(dir.File("j"), {{"/p.jpg"}, {""}, {""}}));
  const auto good = testing::ReadBytes(dir.File("j"));
  const std::string text(good.begin(), good.end());
  const std::string head = R"({"format":"Tovak project journal","version":1,)";
  const std::vector<std::string> damaged{
      "",
      text.substr(0, text.size() / 2),
      "[1,2]",
      R"({"format":"other","version":1,"pictures":[],"messages":[],"voices":[]})",
      R"({"format":"Tovak project journal","version":2,"pictures":[],"messages":[],"voices":[]})",
      head + R"("pictures":["a"],"messages":[],"voices":[""]})",
      head + R"("pictures":[1],"messages":[""],"voices":[""]})",
      head + R"("pictures":[],"messages":[]})"};
  for (const std::string& bad : damaged) {
    WriteText(dir.File("j"), bad);
    EXPECT_THROW(ReadProjectJournal(dir.File("j")), EProjectJournalError) << bad;
  }
}

TEST(WorkingFolder, SecondCopyCannotClaimOrEmptyTheFolder) {
  TempDir dir;
  WorkingFolder first(dir.File("Waves")), second(dir.File("Waves"));
  ASSERT_TRUE(first.Claim());
  WriteText(first.Path() + "/1.wav", "x");
  std::string error;
  EXPECT_FALSE(second.Claim(&error));
  EXPECT_NE(error.find("Another copy"), std::string::npos);
  second.Empty();
  EXPECT_FALSE(second.SaveJournal({{"/p.jpg"}, {""}, {""}}));
  EXPECT_TRUE(fs::exists(first.Path() + "/1.wav"));
  EXPECT_FALSE(fs::exists(second.JournalPath()));
}

TEST(WorkingFolder, TakesOverTheLockOfACopyThatIsGone) {
  TempDir dir;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto* held = new WorkingFolder(dir.File("Waves"));  // never unlocked: the copy "crashes"
    _exit(held->Claim() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(fs::exists(dir.File("Waves/project.lock")));
  WorkingFolder next(dir.File("Waves"));
  EXPECT_TRUE(next.Claim());
}

TEST(WorkingFolder, RestoresTheJournalAndDropsWhatItDoesNotName) {
  TempDir dir;
  auto folder = std::make_unique<WorkingFolder>(dir.File("Waves"));
  ASSERT_TRUE(folder->Claim());
  const std::string w = folder->Path() + "/";
  for (const char* name : {"kept.txt", "kept.wav", "orphan.wav", ".half.tmp"})
    WriteText(w + name, "x");
  fs::create_directory(w + "sub");
  const ProjectLists saved{{"/p1.jpg", "/p2.jpg", "/p3.jpg"},
                           {w + "kept.txt", w + "gone.txt", ""},
                           {"", w + "kept.wav", w + "gone.wav"}};
  ASSERT_TRUE(folder->SaveJournal(saved));
  folder.reset();  // ends without Release, like a crash

  WorkingFolder next(dir.File("Waves"));
  EXPECT_FALSE(next.HasUnfinishedProject()) << "not before it is claimed";
  ASSERT_TRUE(next.Claim());
  ASSERT_TRUE(next.HasUnfinishedProject());
  const ProjectLists restored = next.Restore();
  EXPECT_EQ(restored.pictures, saved.pictures);
  EXPECT_EQ(restored.messages, (std::vector<std::string>{w + "kept.txt", "", ""}));
  EXPECT_EQ(restored.voices, (std::vector<std::string>{"", w + "kept.wav", ""}));
  EXPECT_FALSE(fs::exists(w + "orphan.wav"));
  EXPECT_FALSE(fs::exists(w + ".half.tmp"));
  EXPECT_TRUE(fs::exists(w + "kept.txt") && fs::exists(next.JournalPath()));

  WriteText(next.JournalPath(), "{");
  EXPECT_TRUE(next.HasUnfinishedProject()) << "the user must hear of a damaged journal";
  EXPECT_THROW(next.Restore(), EProjectJournalError);
  EXPECT_TRUE(fs::exists(w + "kept.wav"));

  next.Release();
  EXPECT_FALSE(next.Claimed());
  EXPECT_EQ(std::distance(fs::directory_iterator(w), fs::directory_iterator()), 1) << "sub stays";
  WorkingFolder after(dir.File("Waves"));
  ASSERT_TRUE(after.Claim());
  EXPECT_FALSE(after.HasUnfinishedProject());
}

}  // namespace
}  // namespace tovak
