#include "editor/slideshow_project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "audio/wav_reader.h"
#include "builder/package_reader.h"
#include "builder/plimo.h"
#include "editor/working_files.h"
#include "support/full_disk.h"
#include "support/package_fixture.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::string Numbered(std::string prefix, int i, const char* suffix) {
  prefix.append(std::to_string(i)).append(suffix);
  return prefix;
}

class Project : public ::testing::Test, protected testing::PackageFixture {
 protected:
  Project() : project(pictures, messages, voices, paths.WorkFolder()) {
    project.Now = [this] { return clock; };
  }

  std::vector<std::string> Import(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) files.push_back(Picture(Numbered("p", i, ".jpg")));
    EXPECT_EQ(project.ImportFiles(files), "");
    return files;
  }

  std::vector<std::string> pictures, messages, voices;
  SlideshowProject project;
  std::time_t clock = 1700000000;
};

TEST_F(Project, ImportChecksExtensionsDuplicatesAndPictures) {
  const std::string photo = Picture("Photo.jpg");
  fs::copy_file(photo, dir.File("short.JP"));
  fs::copy_file(photo, dir.File("noext"));
  testing::WriteBytes(dir.File("broken.gif"), {'G', 'I', 'F'});
  testing::WriteBytes(dir.File("broken.png"), {'P', 'N', 'G'});
  testing::WriteBytes(dir.File("notes.doc"), {'x'});

  std::string lower = photo;
  lower.replace(lower.find("Photo"), 5, "photo");
  const std::string skipped =
      project.ImportFiles({photo, lower, dir.File("short.JP"), dir.File("noext"),
                           dir.File("broken.gif"), dir.File("broken.png"), dir.File("notes.doc")});
  EXPECT_EQ(skipped, dir.File("noext") + "\r" + dir.File("broken.png") + "\r" +
                         dir.File("notes.doc") + "\r");
  EXPECT_EQ(pictures,
            (std::vector<std::string>{photo, dir.File("short.JP"), dir.File("broken.gif")}));
  EXPECT_EQ(project.DisplayItems(),
            (std::vector<std::string>{"Photo.jpg", "short.JP", "broken.gif"}));
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(voices, std::vector<std::string>(3));
}

TEST_F(Project, RemovingTakesTheEntriesFilesAlong) {
  Import(5);
  for (int i = 0; i < 5; ++i) {
    project.SaveMessage(i, Numbered("message ", i, ""));
    project.SaveRecording(i, Bytes(100, uint8_t(i)), TWaveFormatEx::Pcm(22050, 1, 8));
  }
  const std::vector<std::string> oldMessages = messages, oldVoices = voices;
  project.RemoveSelected({3, 1});
  EXPECT_EQ(project.DisplayItems(), (std::vector<std::string>{"p0.jpg", "p2.jpg", "p4.jpg"}));
  EXPECT_EQ(messages, (std::vector<std::string>{oldMessages[0], oldMessages[2], oldMessages[4]}));
  EXPECT_EQ(voices, (std::vector<std::string>{oldVoices[0], oldVoices[2], oldVoices[4]}));
  for (int gone : {1, 3}) {
    EXPECT_FALSE(fs::exists(oldMessages[gone]));
    EXPECT_FALSE(fs::exists(oldVoices[gone]));
  }
  EXPECT_EQ(project.LoadMessage(1), "message 2");
}

TEST_F(Project, MovingBlocksAndTheStopRules) {
  Import(5);
  EXPECT_EQ(project.MoveUp({2, 3}), (std::vector<int>{1, 2}));
  EXPECT_EQ(project.DisplayItems(),
            (std::vector<std::string>{"p0.jpg", "p2.jpg", "p3.jpg", "p1.jpg", "p4.jpg"}));
  EXPECT_EQ(project.MoveUp({0, 2}), (std::vector<int>{0, 2}));  // entry 0 selected: nothing moves
  EXPECT_EQ(project.MoveDown({4, 1}), (std::vector<int>{1, 4}));
  EXPECT_EQ(project.MoveDown({1, 2}), (std::vector<int>{2, 3}));
  EXPECT_EQ(project.DisplayItems(),
            (std::vector<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}));
  EXPECT_EQ(pictures[1], dir.File("p1.jpg"));
}

TEST_F(Project, MessagesKeepTheirFileAndAFailedSaveKeepsTheOldText) {
  Import(2);
  project.SaveMessage(0, "Dear all,\nlook at this!");
  const std::string file = messages[0];
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(fs::path(file).parent_path(), fs::path(paths.WorkFolder()).parent_path());
  const Bytes stored = testing::ReadBytes(file);
  EXPECT_EQ(std::string(stored.begin(), stored.end()), "Dear all,\r\nlook at this!\r\n");

  clock += 60;
  project.SaveMessage(0, "changed");
  EXPECT_EQ(messages[0], file);  // later saves reuse the path
  EXPECT_EQ(project.LoadMessage(0), "changed");
  EXPECT_EQ(project.LoadMessage(1), "");

  {
    testing::FullDisk full(4);  // the old message stays
    EXPECT_THROW(project.SaveMessage(0, "a much longer message"), EProjectError);
  }
  EXPECT_EQ(project.LoadMessage(0), "changed");

  project.SaveMessage(0, "");  // an emptied box: the picture has no message any more
  EXPECT_EQ(messages[0], "");
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(Project, TakesReplaceTheirOldFileAndNeedAnEntry) {
  Import(1);
  project.SaveRecording(0, Bytes(10, 1), TWaveFormatEx::Pcm(22050, 1, 8));
  const std::string first = voices[0];
  clock += 1;
  project.SaveRecording(0, Bytes(20, 2), TWaveFormatEx::Pcm(22050, 1, 8));
  EXPECT_NE(voices[0], first);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_THROW(project.SaveRecording(1, Bytes(5, 3), TWaveFormatEx::Pcm(22050, 1, 8)),
               EProjectError);
  EXPECT_EQ(project.ImportFiles({dir.File("missing.gif")}), dir.File("missing.gif") + "\r");
}

TEST_F(Project, TwoRecordingsInOneSecondBothSurvive) {
  Import(2);
  fs::remove_all(paths.WorkFolder());
  project.SaveRecording(0, Bytes(10, 1), TWaveFormatEx::Pcm(44100, 2, 8));
  project.SaveRecording(1, Bytes(20, 2), TWaveFormatEx::Pcm(44100, 2, 8));
  project.SaveMessage(0, "same second");
  ASSERT_NE(voices[0], voices[1]);
  EXPECT_EQ(fs::path(voices[0]).filename(), TimeBasedName(clock) + ".wav");
  Bytes bytes;
  EXPECT_EQ(ReadWavFile(voices[0], bytes).dataSize, 10u);
  EXPECT_EQ(ReadWavFile(voices[1], bytes).dataSize, 20u);

  project.EraseVoice({0});
  EXPECT_EQ(voices[0], "");
  EXPECT_EQ(fs::directory_iterator(paths.WorkFolder())->path().extension() == ".wav" ||
                fs::exists(voices[1]),
            true);
  project.Clear();
  EXPECT_EQ(project.Count(), 0);
  EXPECT_TRUE(voices.empty() && messages.empty() && project.DisplayItems().empty());
  EXPECT_TRUE(fs::is_empty(paths.WorkFolder()));
}

TEST(WorkingFiles, TimeNamesHoldNoColonsOrSlashes) {
  const std::string name = TimeBasedName(1700000000);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find(':'), std::string::npos);
  EXPECT_EQ(name.find('/'), std::string::npos);
}

// The whole road: import, reorder, message, record, and the builder's package of the lists.
TEST_F(Project, TheBuilderPackagesTheEditedProject) {
  const std::vector<std::string> files = Import(3);
  project.MoveDown({0});  // p1, p0, p2
  project.SaveMessage(1, "first picture\nsecond line");
  project.SaveRecording(2, Bytes(4410, 0x90), TWaveFormatEx::Pcm(44100, 1, 8));

  TPlimo builder(paths);
  builder.SetPictures(pictures);
  builder.SetMessages(messages);
  builder.SetVoices(voices);
  builder.TrailerFlag = 1;
  ASSERT_TRUE(builder.Build()) << builder.LastError;

  PackageReader reader;
  reader.Open(builder.OutputFile);
  ASSERT_EQ(reader.PictureCount(), 3);
  EXPECT_EQ(reader.Image(0), testing::ReadBytes(files[1]));
  EXPECT_EQ(reader.Image(1), testing::ReadBytes(files[0]));
  EXPECT_EQ(reader.MessageLines(1), (std::vector<std::string>{"first picture", "second line"}));
  EXPECT_TRUE(reader.MessageLines(0).empty());
  EXPECT_EQ(reader.VoiceContainer(0).size(), 10u);
  EXPECT_GT(reader.VoiceContainer(2).size(), 10u);
}

}  // namespace
}  // namespace tovak
