#include "editor/slideshow_opener.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "builder/package_reader.h"
#include "builder/plimo.h"
#include "common/files.h"
#include "editor/slideshow_project.h"
#include "editor/working_files.h"
#include "editor/working_folder.h"
#include "support/package_fixture.h"

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
      EXPECT_NE(e.Message().find(name), std::string::npos) << e.Message();
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
// also one no journal names any more; a picture of the user's beside them stays.
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
    EXPECT_TRUE(IsOpenedPicture(lists.pictures[0], work));
    EXPECT_FALSE(IsOpenedPicture(mine, work));
    EXPECT_FALSE(IsOpenedPicture(dir.File("~opened-01.jpg"), work));
  }  // gone without Release(), as a crash leaves it

  WorkingFolder again(work);
  ASSERT_TRUE(again.Claim());
  ASSERT_TRUE(again.HasUnfinishedProject());
  EXPECT_EQ(again.Restore().pictures, lists.pictures);
  again.Release();
  EXPECT_FALSE(FileExists(lists.pictures[0]));
  EXPECT_FALSE(FileExists(lists.pictures[1]));
  EXPECT_FALSE(FileExists(work + "/~opened-09.jpg"));
  EXPECT_TRUE(FileExists(lists.pictures[2]));
}

}  // namespace
}  // namespace tovak
