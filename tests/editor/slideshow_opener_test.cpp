#include "editor/slideshow_opener.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "builder/package_reader.h"
#include "builder/plimo.h"
#include "common/files.h"
#include "editor/slideshow_project.h"
#include "editor/working_files.h"
#include "editor/working_folder.h"
#include "support/package_fixture.h"
#include "support/written_show.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class Opener : public ::testing::Test, protected testing::PackageFixture {
 protected:
  std::string Build(const ProjectLists& lists, const std::string& out, bool keep) {
    TPlimo builder(paths);
    builder.SetPictures(lists.pictures);
    builder.SetMessages(lists.messages);
    builder.SetVoices(lists.voices);
    builder.SetOptions(80, 60, 70);
    builder.KeepFittingJpegs = keep;
    builder.TrailerFlag = 1;
    EXPECT_TRUE(builder.Build()) << builder.LastError;
    const std::string path = dir.File(out);
    fs::copy_file(builder.OutputFile, path);
    return path;
  }

  std::vector<Bytes> Records(const std::string& package) {
    PackageReader reader;
    reader.Open(package);
    std::vector<Bytes> records;
    for (int i = 0; i < reader.PictureCount(); ++i)
      for (const auto& r : {reader.ImageRecord(i), reader.VoiceRecord(i), reader.MessageRecord(i)})
        records.push_back(reader.Read(r));
    return records;
  }
};

// Opening a show and building it again in the same mode changes no picture, voice or message.
TEST_F(Opener, RebuildingAnOpenedShowGivesTheSameRecords) {
  std::vector<std::string> pictures, messages, voices;
  SlideshowProject project(pictures, messages, voices, dir.File("made"));
  ASSERT_EQ(project.ImportFiles(
                {Picture("a.jpg", 64, 48), Picture("b.jpg", 200, 90), Picture("c.jpg", 30, 60)}),
            "");
  project.SaveMessage(0, "Grüße aus Köln\nzweite Zeile");
  project.SaveMessage(2, "été");
  project.SaveRecording(0, Bytes(4410, 0x90), TWaveFormatEx::Pcm(44100, 1, 8));
  project.SaveRecording(1, Bytes(8820, 0x21), TWaveFormatEx::Pcm(22050, 1, 16));
  const std::string first = Build({pictures, messages, voices}, "first.exe", false);
  const Bytes firstBytes = testing::ReadBytes(first);

  const std::string work = dir.File("work");
  const ProjectLists opened = OpenSlideshow(first, work, {}, 1700000000);
  ASSERT_EQ(opened.pictures.size(), 3u);
  EXPECT_EQ(opened.messages[1], "");
  EXPECT_EQ(opened.voices[2], "");
  for (const std::string& file : opened.pictures) EXPECT_EQ(fs::path(file).parent_path(), work);

  EXPECT_EQ(Records(Build(opened, "again.exe", true)), Records(first));
  // Without the rule every picture would be encoded a second time.
  EXPECT_NE(Records(Build(opened, "lossy.exe", false))[0], Records(first)[0]);
  EXPECT_EQ(testing::ReadBytes(first), firstBytes);
}

TEST_F(Opener, RefusesWhatIsNotASlideshowAndWritesNothing) {
  std::vector<std::string> pictures, messages, voices;
  SlideshowProject project(pictures, messages, voices, dir.File("made"));
  project.ImportFiles({Picture("a.jpg"), Picture("b.jpg")});
  project.SaveRecording(1, Bytes(100, 0x90), TWaveFormatEx::Pcm(8000, 1, 8));
  const Bytes good = testing::ReadBytes(Build({pictures, messages, voices}, "good.exe", false));
  // The second voice's container damaged: found only after the first picture was written.
  PackageReader reader;
  reader.Open(dir.File("good.exe"));
  Bytes damaged = good;
  const auto voice = reader.VoiceRecord(1);
  for (int64_t k = 0; k < voice.size; ++k) damaged[voice.offset + k] ^= 0x5A;
  testing::WriteBytes(dir.File("damaged.exe"), damaged);
  testing::WriteBytes(dir.File("cut.exe"), Bytes(good.begin(), good.end() - 7));
  fs::create_directories(dir.File("folder.exe"));

  const std::string work = dir.File("work");
  fs::create_directories(work);
  for (const char* name : {"damaged.exe", "cut.exe", "folder.exe", "a.jpg", "absent.exe"}) {
    try {
      OpenSlideshow(dir.File(name), work, {}, 1700000000);
      ADD_FAILURE() << name << " was opened";
    } catch (const EOpenSlideshowError& e) {
      // The window names the show; the reason says only why, in a sentence.
      EXPECT_EQ(e.Message().find(name), std::string::npos) << e.Message();
      EXPECT_EQ(e.Message().find(" : "), std::string::npos) << e.Message();
      EXPECT_TRUE(e.Message().ends_with('.')) << e.Message();
    }
    EXPECT_TRUE(fs::is_empty(work)) << name;
  }
}

// A picture the builder could not read was stored empty; the show still opens and builds the same.
TEST_F(Opener, AnEmptyPictureRecordComesBackEmpty) {
  const std::string broken = dir.File("broken.jpg");
  testing::WriteBytes(broken, Bytes(100, 0x33));
  const std::string first =
      Build({{Picture("a.jpg"), broken}, {"", ""}, {"", ""}}, "first.exe", false);
  const ProjectLists opened = OpenSlideshow(first, dir.File("work"), {}, 1700000000);
  ASSERT_EQ(opened.pictures.size(), 2u);
  EXPECT_EQ(fs::file_size(opened.pictures[1]), 0u);
  EXPECT_EQ(Records(Build(opened, "again.exe", true)), Records(first));
}

// The opened pictures are the working folder's own: found again after a crash, emptied with it,
// also one the user removed before the crash; a picture of the user's beside them stays, even
// one named like ours.
TEST_F(Opener, OpenedPicturesGoWithTheFolderAlsoAfterACrash) {
  std::vector<std::string> pictures, messages, voices;
  SlideshowProject project(pictures, messages, voices, dir.File("made"));
  project.ImportFiles({Picture("a.jpg"), Picture("b.jpg")});
  const std::string show = Build({pictures, messages, voices}, "show.exe", false);

  const std::string work = dir.File("work");
  ProjectLists lists;
  {
    WorkingFolder folder(work);
    ASSERT_TRUE(folder.Claim());
    lists = OpenSlideshow(show, work, {}, 1700000000);
    const std::string mine = Picture("work/~mine.jpg");
    lists.pictures.push_back(mine);
    lists.messages.emplace_back();
    lists.voices.emplace_back();
    ASSERT_TRUE(folder.SaveJournal(lists));
    testing::WriteBytes(work + "/~opened-09.jpg", testing::ReadBytes(mine));
    ProjectLists removed = lists;
    removed.pictures.erase(removed.pictures.begin() + 1);
    removed.messages.pop_back();
    removed.voices.pop_back();
    ASSERT_TRUE(folder.SaveJournal(removed));
    EXPECT_TRUE(IsOpenedPicture(lists.pictures[0], work));
    EXPECT_FALSE(IsOpenedPicture(mine, work));
    EXPECT_FALSE(IsOpenedPicture(dir.File("~opened-01.jpg"), work));
  }  // gone without Release(), as a crash leaves it

  WorkingFolder again(work);
  ASSERT_TRUE(again.Claim());
  ASSERT_TRUE(again.HasUnfinishedProject());
  EXPECT_EQ(again.Restore().pictures,
            (std::vector<std::string>{lists.pictures[0], lists.pictures[2]}));
  again.Release();
  EXPECT_FALSE(FileExists(lists.pictures[0]));
  EXPECT_FALSE(FileExists(lists.pictures[1]));
  EXPECT_TRUE(FileExists(work + "/~opened-09.jpg")) << "only what the program named is its own";
  EXPECT_TRUE(FileExists(lists.pictures[2]));
}

// A record no player reads (a message bomb) refuses the show before any record is read or any
// file written, however large the record says it is.
TEST_F(Opener, ARecordBeyondWhatPlayersReadIsRefusedUnread) {
  const Bytes jpeg = testing::ReadBytes(Picture("a.jpg"));
  const std::string bomb = dir.File("bomb.exe");
  testing::WriteShow(bomb, 2, jpeg, {'h', 'i', '\r', '\n'}, 1, int64_t{1} << 30);
  const std::string work = dir.File("work");
  fs::create_directories(work);
  try {
    SlideshowOpening opening(bomb, work, {}, 1700000000);
    ADD_FAILURE() << "opened";
  } catch (const EOpenSlideshowError& e) {
    EXPECT_NE(e.Message().find("Picture 2: the message is larger"), std::string::npos)
        << e.Message();
  }
  EXPECT_TRUE(fs::is_empty(work));
}

// A name found taken is never tried again: the thousandth message of one second costs what the
// first did, not a look at every name before it (this took 23 s, and grew with the square).
TEST_F(Opener, NamingTimeGrowsWithTheShowAlone) {
  const std::string show = dir.File("show.exe");
  testing::WriteShow(show, 30, testing::ReadBytes(Picture("a.jpg", 8, 8)), {'h', 'i', '\r', '\n'});
  const std::string work = dir.File("work");
  const std::string base = (fs::path(work) / TimeBasedName(1700000000)).string();
  std::vector<std::string> inUse{base + ".txt"};
  for (int k = 2; k <= 3000; ++k) inUse.push_back(base + "_" + std::to_string(k) + ".txt");
  const auto start = std::chrono::steady_clock::now();
  const ProjectLists opened = OpenSlideshow(show, work, inUse, 1700000000);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(opened.messages.back(), base + "_3030.txt");
}

// A FIFO (or device) is never opened, whatever its name: opening one waits for a writer. A
// dropped or named one is refused as a slideshow, or skipped as a picture.
TEST_F(Opener, WhatIsNotARegularFileIsNeverOpened) {
  const std::string exe = dir.File("pipe.exe"), jpg = dir.File("pipe.jpg");
  ASSERT_EQ(mkfifo(exe.c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(jpg.c_str(), 0600), 0);
  auto checks = std::async(std::launch::async, [&] {
    EXPECT_TRUE(IsSlideshowToOpen(exe));
    EXPECT_FALSE(IsSlideshowToOpen(jpg));
    EXPECT_THROW(CheckSlideshowFile(exe), EOpenSlideshowError);
    std::vector<std::string> pictures, messages, voices;
    SlideshowProject project(pictures, messages, voices, dir.File("made"));
    EXPECT_NE(project.ImportFiles({jpg}), "");
    EXPECT_TRUE(pictures.empty());
  });
  if (checks.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "a FIFO was opened";
    // Lets each blocked open go on, so the test can end.
    while (checks.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
      for (const std::string& fifo : {exe, jpg}) {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
      }
    }
  }
}

}  // namespace
}  // namespace tovak
