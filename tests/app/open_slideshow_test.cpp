#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <filesystem>
#include <set>

#include "app/tfm_plimo_main_screen.h"
#include "builder/package_reader.h"
#include "common/files.h"
#include "editor/slideshow_project.h"
#include "editor/ui/file_list.h"
#include "editor/ui/tfm_manual.h"
#include "editor/working_folder.h"
#include "support/fake_wave_device.h"
#include "support/main_window_fixture.h"
#include "support/written_show.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Answer = MainScreenAsker::Answer;

class OpeningAsker : public MainScreenWindowAsker {
 public:
  Answer Ask(Kind, const std::string& text, bool) override {
    asked.push_back(text);
    return answer;
  }
  void Tell(Kind, const std::string& text) override { told.push_back(text); }
  int Exec(QDialog&) override { return QDialog::Accepted; }
  bool AskSaveName(std::string& name, int&) override {
    offered = name;
    return false;
  }
  std::string AskSlideshowToOpen() override { return toOpen; }

  Answer answer = Answer::Yes;
  std::vector<std::string> asked, told;
  std::string offered, toOpen;
};

enum Kind { kImage, kVoice, kMessage };

class OpenSlideshow : public testing::MainWindowFixture<OpeningAsker> {
 protected:
  SlideshowProject& Project() { return window->Editor().Session().Project(); }

  // Three pictures that fit the full mode but not the compact one, two messages, two voices.
  void MakeProject() {
    window->Editor().Load(false);
    ASSERT_EQ(Project().ImportFiles({Picture("a.jpg", 600, 400), Picture("b.jpg", 300, 500),
                                     Picture("c.jpg", 480, 300)}),
              "");
    Project().SaveMessage(0, "Grüße aus Köln");
    Project().SaveMessage(2, "été");
    Project().SaveRecording(1, Bytes(4410, 0x90), TWaveFormatEx::Pcm(11025, 1, 8));
    Project().SaveRecording(2, Bytes(8820, 0x21), TWaveFormatEx::Pcm(22050, 1, 16));
    window->Session().ListsChanged();
  }

  // Builds the project in mode and keeps a copy of the result as name.
  std::string Build(uint8_t mode, const std::string& name) {
    MainScreenSession& session = window->Session();
    session.Settings().CreationMode = mode;
    EXPECT_TRUE(session.StartCreation());
    session.CreateSlideshow();
    const std::string copy = dir.File(name);
    fs::copy_file(session.Builder().OutputFile, copy, fs::copy_options::overwrite_existing);
    return copy;
  }

  static std::vector<Bytes> Records(const std::string& package, Kind kind) {
    PackageReader reader;
    reader.Open(package);
    std::vector<Bytes> records;
    for (int i = 0; i < reader.PictureCount(); ++i) {
      records.push_back(reader.Read(kind == kImage   ? reader.ImageRecord(i)
                                    : kind == kVoice ? reader.VoiceRecord(i)
                                                     : reader.MessageRecord(i)));
    }
    return records;
  }

  std::vector<std::string> FolderFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(paths.WorkFolder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// Opened, built again, changed in one message and one voice: only what changed differs, and the
// opened file outlives the project untouched.
TEST_F(OpenSlideshow, BuildingAgainChangesOnlyWhatTheUserChanged) {
  Open();
  MakeProject();
  const std::string trip = Build(cmFull, "Trip.exe");
  const Bytes tripBytes = testing::ReadBytes(trip);

  asker.toOpen = trip;
  window->findChild<QAction*>("OpenSlideshowMnu")->trigger();
  ASSERT_EQ(asker.asked.size(), 1u) << "the project and its unsaved result are put in question";
  MainScreenSession& session = window->Session();
  ASSERT_EQ(session.PictureFiles().size(), 3u);
  EXPECT_EQ(window->findChild<QLabel*>("lbPictureCount")->text(), "3");
  EXPECT_TRUE(window->windowTitle().contains("[Trip.exe]")) << window->windowTitle().toStdString();
  EXPECT_EQ(window->Editor().Session().State().voiceMarks, (std::vector<bool>{false, true, true}));
  EXPECT_EQ(Project().LoadMessage(0), "Grüße aus Köln");

  EXPECT_EQ(Records(Build(cmFull, "same.exe"), kImage), Records(trip, kImage));
  const std::string compact = Build(cmCompact, "compact.exe");
  for (int i = 0; i < 3; ++i) EXPECT_NE(Records(compact, kImage)[i], Records(trip, kImage)[i]);
  EXPECT_EQ(Records(compact, kVoice), Records(trip, kVoice));
  EXPECT_EQ(Records(compact, kMessage), Records(trip, kMessage));

  Project().SaveMessage(1, "neu");
  Project().SaveRecording(2, Bytes(3000, 0x77), TWaveFormatEx::Pcm(8000, 1, 8));
  const std::string changed = Build(cmFull, "changed.exe");
  EXPECT_EQ(Records(changed, kImage), Records(trip, kImage));
  for (const Kind kind : {kVoice, kMessage}) {
    const std::vector<Bytes> before = Records(trip, kind), after = Records(changed, kind);
    for (int i = 0; i < 3; ++i) {
      const bool touched = (kind == kMessage && i == 1) || (kind == kVoice && i == 2);
      EXPECT_EQ(before[i] != after[i], touched) << "record " << kind << " of picture " << i;
    }
  }

  window->Results().SaveAs();
  EXPECT_EQ(asker.offered, trip);
  const std::vector<std::string> opened = session.PictureFiles();
  window.reset();
  for (const std::string& picture : opened) EXPECT_FALSE(FileExists(picture)) << picture;
  EXPECT_EQ(testing::ReadBytes(trip), tripBytes);
}

// Whatever cannot be opened is told once and leaves the project, its files and its result as
// they were; so does a No to the question.
TEST_F(OpenSlideshow, RefusedOrDeclinedChangesNothing) {
  Open();
  MakeProject();
  const std::string good = Build(cmCompact, "good.exe");
  const Bytes bytes = testing::ReadBytes(good);
  PackageReader reader;
  reader.Open(good);
  // A voice that does not expand, and a picture whose second half is lost.
  Bytes voice = bytes, picture = bytes;
  const PackageReader::Record v = reader.VoiceRecord(2), p = reader.ImageRecord(1);
  for (int64_t k = 0; k < v.size; ++k) voice[v.offset + k] ^= 0x5A;
  std::fill_n(picture.begin() + p.offset + p.size / 2, p.size - p.size / 2, 0);
  testing::WriteBytes(dir.File("voice.exe"), voice);
  testing::WriteBytes(dir.File("picture.exe"), picture);
  fs::create_directories(dir.File("folder.exe"));
  MainScreenSession& session = window->Session();
  const ProjectLists before{session.PictureFiles(), session.MessageFiles(), session.VoiceFiles()};
  const std::vector<std::string> files = FolderFiles();

  const std::string names[] = {"voice.exe", "picture.exe", "folder.exe", "a.jpg", "absent.exe"};
  for (const std::string& name : names) {
    asker.told.clear();
    EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(dir.File(name))));
    ASSERT_EQ(asker.told.size(), 1u) << name;
    // Named once, the reason in words rather than the reader's "NAME : why".
    EXPECT_NE(asker.told[0].find(name), std::string::npos) << asker.told[0];
    EXPECT_EQ(asker.told[0].find(name), asker.told[0].rfind(name)) << asker.told[0];
    EXPECT_EQ(asker.told[0].find(" : "), std::string::npos) << asker.told[0];
  }
  asker.told.clear();
  asker.answer = Answer::No;
  EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(good)));
  EXPECT_TRUE(asker.told.empty());

  EXPECT_EQ(before,
            (ProjectLists{session.PictureFiles(), session.MessageFiles(), session.VoiceFiles()}));
  EXPECT_EQ(FolderFiles(), files);
  EXPECT_TRUE(session.Look().resultsVisible);

  // Named on the command line, or dropped on the editor's list with a picture, the slideshow
  // opens as from the menu; the picture joins it.
  asker.answer = Answer::Yes;
  ASSERT_TRUE(window->OpenArguments({QString::fromStdString(good)}));
  EXPECT_EQ(session.PictureFiles().size(), 3u);
  EXPECT_NE(session.PictureFiles(), before.pictures);
  emit window->Editor().findChild<FileListView*>("lbFiles")->FilesDropped(
      {QString::fromStdString(Picture("d.jpg")), QString::fromStdString(good)});
  EXPECT_EQ(window->Editor().Session().State().items.size(), 4u);
  EXPECT_EQ(session.PictureFiles().back(), dir.File("d.jpg"));
}

// A crash after opening a show: the restored project still carries the show's name, in the
// caption and as the name Save offers.
TEST_F(OpenSlideshow, RestoredAfterACrashKeepsTheShowsName) {
  Open();
  const std::string show = dir.File("Trip.exe");
  testing::WriteShow(show, 2, testing::ReadBytes(Picture("tiny.jpg", 8, 8)), {'h', 'i'});
  ASSERT_TRUE(window->OpenSlideshowFile(QString::fromStdString(show)));
  std::vector<std::pair<std::string, Bytes>> left;
  for (const std::string& name : FolderFiles())
    if (name != "project.lock")
      left.emplace_back(name, testing::ReadBytes(paths.WorkFolder() + name));
  window.reset();  // empties the folder; what a crash leaves is put back
  folder.reset();
  for (const auto& [name, bytes] : left) testing::WriteBytes(paths.WorkFolder() + name, bytes);

  asker.answer = Answer::Yes;
  Open();
  EXPECT_EQ(window->Session().PictureFiles().size(), 2u);
  EXPECT_TRUE(window->windowTitle().contains("[Trip.exe]")) << window->windowTitle().toStdString();
  EXPECT_EQ(window->Session().SuggestedSaveName(), show);
}

// Every file an opening writes is named by the journal before it exists: a kill halfway leaves
// nothing the next start does not delete, and the user's own files stay, even one named like
// ours. A cancel leaves the project, its files and its journal as they were.
TEST_F(OpenSlideshow, ACancelOrAKillHalfwayLeavesNothingBehind) {
  Open();
  MakeProject();
  const std::string w = paths.WorkFolder();
  testing::WriteBytes(w + "~opened-01.jpg", {1, 2, 3});
  testing::WriteBytes(w + "notes.txt", {4});
  const std::string show = dir.File("Long.exe");
  testing::WriteShow(show, 300, testing::ReadBytes(Picture("tiny.jpg", 8, 8)), {'h', '\r', '\n'});
  MainScreenSession& session = window->Session();
  const ProjectLists before{session.PictureFiles(), session.MessageFiles(), session.VoiceFiles()};
  ASSERT_TRUE(folder->SaveJournal(before));  // as the editor notes every change
  const std::vector<std::string> files = FolderFiles();
  const Bytes journal = testing::ReadBytes(folder->JournalPath());
  const std::string killed = dir.File("killed/");
  fs::create_directories(killed);

  session.RunOpening = [&](const std::function<void(const OpenProgress&)>& work) {
    work([&](int done, int) {
      if (done < 100) return true;
      std::vector<std::string> owned;
      const ProjectLists journaled = ReadProjectJournal(folder->JournalPath(), &owned);
      std::set<std::string> named(files.begin(), files.end());
      for (const std::string& file : owned) named.insert(fs::path(file).filename().string());
      for (const std::string& file : FolderFiles()) {
        EXPECT_TRUE(named.count(file)) << file << " is written before the journal names it";
        if (file != "project.lock") fs::copy_file(w + file, killed + file);
      }
      return false;
    });
  };
  EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(show)));
  EXPECT_TRUE(asker.told.empty());
  EXPECT_EQ(before,
            (ProjectLists{session.PictureFiles(), session.MessageFiles(), session.VoiceFiles()}));
  EXPECT_EQ(FolderFiles(), files);
  EXPECT_EQ(testing::ReadBytes(folder->JournalPath()), journal);

  // The start after the kill, without taking the project back.
  WorkingFolder next(killed);
  ASSERT_TRUE(next.Claim());
  next.Empty();
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(killed))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "project.lock", "~opened-01.jpg"}));
}

// The opening runs on a thread of its own under the progress dialog, whose Cancel stops it; so
// does closing the window, which then closes.
TEST_F(OpenSlideshow, OpensUnderAProgressDialogThatCancels) {
  Open();
  const std::string show = dir.File("Long.exe");
  testing::WriteShow(show, 3000, testing::ReadBytes(Picture("tiny.jpg", 8, 8)), {'h', '\r', '\n'});
  const std::vector<std::string> files = FolderFiles();
  bool shown = false;
  QTimer::singleShot(0, window.get(), [&] {
    auto* dialog = window->findChild<QProgressDialog*>("ProgressRunnerDialog");
    shown = dialog && dialog->isVisible();
    if (dialog) emit dialog->canceled();
  });
  EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(show)));
  EXPECT_TRUE(shown);
  EXPECT_TRUE(asker.told.empty());
  EXPECT_TRUE(window->Session().PictureFiles().empty());
  EXPECT_EQ(FolderFiles(), files);

  QTimer::singleShot(0, window.get(), [&] { window->close(); });
  EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(show)));
  EXPECT_EQ(FolderFiles(), files);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tovak
