#include "editor/project_journal.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "editor/working_folder.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

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
      {dir.File("1.txt"), "", dir.File(std::string("nul\0.txt", 7))},
      {"", dir.File("2.wav"), ""}};
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
      R"({"format":"Tovak project journal","version":4,"pictures":[],"messages":[],"voices":[]})",
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

size_t EntriesIn(const std::string& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A crash, then the program's folder moved (or the stick mounted elsewhere): the files are found
// by name in the folder's new place, today's and older journals alike, and a name that does
// not resolve costs no file.
TEST(WorkingFolder, RestoresByNameWhereverTheFolderNowIs) {
  TempDir dir;
  const std::string old = dir.File("old/Waves/");
  for (const bool olderJournal : {false, true}) {
    fs::remove_all(dir.File("new"));
    fs::create_directories(old);
    for (const char* name : {"kept.txt", "kept.wav", "orphan.wav", ".tovak-1-1.tmp"})
      WriteText(old + name, "x");
    const ProjectLists saved{{"/p1.jpg", "/p2.jpg", "/p3.jpg"},
                             {old + "kept.txt", old + "gone.txt", ""},
                             {"", old + "kept.wav", old + "gone.wav"}};
    {
      WorkingFolder crashed(old);
      ASSERT_TRUE(crashed.Claim());
      ASSERT_TRUE(crashed.SaveJournal(saved));
    }
    if (olderJournal) {  // full paths, as the first journals noted them
      WriteText(old + "project.journal",
                R"({"format":"Tovak project journal","version":1,"pictures":["/p1.jpg","/p2.jpg",)"
                R"("/p3.jpg"],"messages":[")" +
                    old + R"(kept.txt",")" + old + R"(gone.txt",""],"voices":["",")" + old +
                    R"(kept.wav",")" + old + R"(gone.wav"]})");
    }
    fs::rename(dir.File("old"), dir.File("new"));
    const std::string w = dir.File("new/Waves/");

    WorkingFolder next(w);
    EXPECT_FALSE(next.HasUnfinishedProject()) << "not before it is claimed";
    ASSERT_TRUE(next.Claim());
    ASSERT_TRUE(next.HasUnfinishedProject());
    const ProjectLists restored = next.Restore();
    EXPECT_EQ(restored.pictures, saved.pictures);
    EXPECT_EQ(restored.messages, (std::vector<std::string>{w + "kept.txt", "", ""}));
    EXPECT_EQ(restored.voices, (std::vector<std::string>{"", w + "kept.wav", ""}));
    EXPECT_TRUE(fs::exists(w + "orphan.wav") && fs::exists(w + "kept.wav"));
    EXPECT_FALSE(fs::exists(w + ".tovak-1-1.tmp")) << "a half-written temporary goes";

    next.Release();
    EXPECT_FALSE(next.Claimed());
    EXPECT_FALSE(fs::exists(w + "kept.wav") || fs::exists(w + "kept.txt"));
    EXPECT_TRUE(fs::exists(w + "orphan.wav")) << "not known to be ours";
  }
}

// Pictures taken out of an opened slideshow are found in the folder wherever it has moved, also
// from a journal that named them by full path; their next exit deletes them there, and a
// picture of the same name elsewhere is left where it is.
TEST(WorkingFolder, OpenedPicturesMoveWithTheFolder) {
  TempDir dir;
  for (const bool olderJournal : {false, true}) {
    fs::remove_all(dir.File("new"));
    const std::string old = dir.File("old/Waves/");
    fs::create_directories(old);
    WriteText(old + "~opened-01.jpg", "p");
    {
      WorkingFolder crashed(old);
      ASSERT_TRUE(crashed.Claim());
      ASSERT_TRUE(crashed.SaveJournal(
          {{old + "~opened-01.jpg", "/elsewhere/~opened-02.jpg"}, {"", ""}, {"", ""}}));
    }
    if (olderJournal) {
      WriteText(old + "project.journal",
                R"({"format":"Tovak project journal","version":2,"pictures":[")" + old +
                    R"(~opened-01.jpg","/elsewhere/~opened-02.jpg"],"messages":["",""],)"
                    R"("voices":["",""]})");
    }
    fs::rename(dir.File("old"), dir.File("new"));
    const std::string w = dir.File("new/Waves/");
    WorkingFolder next(w);
    ASSERT_TRUE(next.Claim());
    EXPECT_EQ(next.Restore().pictures,
              (std::vector<std::string>{w + "~opened-01.jpg", "/elsewhere/~opened-02.jpg"}));
    EXPECT_TRUE(fs::exists(w + "~opened-01.jpg"));
    next.Release();
    EXPECT_FALSE(fs::exists(w + "~opened-01.jpg"));
  }
}

// A file the user put in the folder is never the program's, whatever its name: only what the
// journal names, or what this run made, is deleted.
TEST(WorkingFolder, AFileNamedLikeOursButNeverNamedStays) {
  TempDir dir;
  const std::string w = dir.File("Waves/");
  fs::create_directories(w);
  WriteText(w + "~opened-01.jpg", "mine");
  WorkingFolder folder(w);
  ASSERT_TRUE(folder.Claim());
  folder.Empty();  // a plain start
  folder.Release();
  EXPECT_TRUE(fs::exists(w + "~opened-01.jpg"));
}

// Only what the program made goes; a slideshow saved there, a picture kept there, a file of
// unknown origin stay, at the start of a run and at its end.
TEST(WorkingFolder, EmptyingDeletesOnlyTheProgramsOwnFiles) {
  TempDir dir;
  const std::string w = dir.File("Waves/");
  fs::create_directories(w + "sub");
  for (const char* name : {"Holiday.exe", "photo.jpg", "140327.wav", "~TalkingPlimo.exe"})
    WriteText(w + name, "x");
  {
    WorkingFolder crashed(w);
    ASSERT_TRUE(crashed.Claim());
    WriteText(w + "1.txt", "m");
    WriteText(w + "1.wav", "v");
    ASSERT_TRUE(crashed.SaveJournal({{w + "photo.jpg"}, {w + "1.txt"}, {w + "1.wav"}}));
  }
  WorkingFolder folder(w);
  ASSERT_TRUE(folder.Claim());
  folder.Empty();  // the user did not take the project back
  EXPECT_FALSE(fs::exists(w + "1.txt") || fs::exists(w + "1.wav") ||
               fs::exists(w + "~TalkingPlimo.exe") || fs::exists(folder.JournalPath()));

  WriteText(w + "2.wav", "v");
  ASSERT_TRUE(folder.SaveJournal({{w + "photo.jpg"}, {""}, {w + "2.wav"}}));
  WriteText(w + "~TalkingPlimo.exe", "x");
  WriteText(w + ".tovak-7-3.tmp", "x");
  folder.Release();
  EXPECT_EQ(EntriesIn(w), 4u) << "sub, Holiday.exe, photo.jpg and 140327.wav";
  EXPECT_TRUE(fs::exists(w + "Holiday.exe") && fs::exists(w + "photo.jpg") &&
              fs::exists(w + "140327.wav"));
}

// A journal from another version or damaged: set aside, the user told where everything is, and
// nothing from before deleted in that run; what the run itself made still goes at its end.
TEST(WorkingFolder, AnUnreadableJournalIsSetAsideAndNothingOldDeleted) {
  TempDir dir;
  const std::string w = dir.File("Waves/");
  fs::create_directories(w);
  for (const char* name : {"1.wav", "2.txt", "~TalkingPlimo.exe", ".tovak-1-1.tmp"})
    WriteText(w + name, "x");
  for (const std::string& journal :
       {std::string("{\"format\":\"Tovak project journal\",\"version\":9}"), std::string("{")}) {
    WriteText(w + "project.journal", journal);
    WorkingFolder folder(w);
    ASSERT_TRUE(folder.Claim());
    EXPECT_NE(folder.SetAsideNote().find(w), std::string::npos);
    EXPECT_NE(folder.SetAsideNote().find("project.journal.unreadable"), std::string::npos);
    EXPECT_FALSE(folder.HasUnfinishedProject());
    folder.Empty();
    WriteText(w + "3.wav", "new");
    ASSERT_TRUE(folder.SaveJournal({{"/p.jpg"}, {""}, {w + "3.wav"}}));
    folder.Release();
    for (const char* name : {"1.wav", "2.txt", "~TalkingPlimo.exe", ".tovak-1-1.tmp"})
      EXPECT_TRUE(fs::exists(w + name)) << name;
    EXPECT_FALSE(fs::exists(w + "3.wav") || fs::exists(w + "project.journal"));
  }
  EXPECT_TRUE(fs::exists(w + "project.journal.unreadable") &&
              fs::exists(w + "project.journal.unreadable-2"));

  // Damaged while the program runs: the restore says so instead of emptying.
  WorkingFolder folder(w);
  ASSERT_TRUE(folder.Claim());
  WriteText(folder.JournalPath(), "{");
  EXPECT_TRUE(folder.HasUnfinishedProject()) << "the user must hear of a damaged journal";
  try {
    folder.Restore();
    ADD_FAILURE() << "a damaged journal restored";
  } catch (const EProjectJournalError& e) {
    EXPECT_EQ(e.Message(), folder.SetAsideNote());
  }
  folder.Release();
  EXPECT_TRUE(fs::exists(w + "1.wav") && fs::exists(w + "project.journal.unreadable-3"));
}

// As anyone but root, a folder without write permission; root is made to act as one.
TEST(WorkingFolder, AReadOnlyFolderSaysWhatIsWrongWithWhichFolder) {
  TempDir dir;
  fs::permissions(dir.Path(), fs::perms(0755));
  const std::string w = dir.File("Waves");
  fs::create_directories(w);
  fs::permissions(w, fs::perms(0555));
  std::string error;
  {
    testing::Unprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    WorkingFolder folder(w);
    EXPECT_FALSE(folder.Claim(&error));
  }
  EXPECT_NE(error.find("\"" + w + "\" cannot be written"), std::string::npos) << error;
  EXPECT_EQ(error.find("Another copy"), std::string::npos);
}

}  // namespace
}  // namespace tovak
