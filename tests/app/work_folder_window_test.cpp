#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/tfm_plimo_main_screen.h"
#include "common/files.h"
#include "editor/working_folder.h"
#include "support/main_window_fixture.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;

class TellingAsker : public MainScreenWindowAsker {
 public:
  Answer Ask(Kind, const std::string& text, bool) override {
    asked.push_back(text);
    return Answer::Yes;
  }
  void Tell(Kind, const std::string& text) override { told.push_back(text); }
  int Exec(QDialog&) override { return QDialog::Accepted; }
  bool AskSaveName(std::string&, int&) override { return false; }

  std::vector<std::string> asked, told;
};

class WorkFolderWindow : public testing::MainWindowFixture<TellingAsker> {};

// The journal of the last run cannot be read: the user hears where the files are, is not asked
// to restore, and the files outlive the run.
TEST_F(WorkFolderWindow, AnUnreadableJournalIsToldAndItsFilesKept) {
  const std::string w = paths.WorkFolder();
  fs::create_directories(w);
  testing::WriteBytes(w + "take.wav", {'R', 'I', 'F', 'F'});
  testing::WriteBytes(w + "project.journal", {'{'});
  Open();
  ASSERT_EQ(asker.told.size(), 1u);
  EXPECT_NE(asker.told[0].find(w), std::string::npos) << asker.told[0];
  EXPECT_TRUE(asker.asked.empty());
  window.reset();
  EXPECT_TRUE(FileExists(w + "take.wav"));
  EXPECT_TRUE(FileExists(w + "project.journal.unreadable"));
}

// A list of photos the user made is read and kept; only a list in the temporary folder, where
// another program's temporary file lands, is deleted once read.
TEST_F(WorkFolderWindow, AHandOverListIsDeletedOnlyFromTheTemporaryFolder) {
  const char* before = std::getenv("TMPDIR");
  const std::optional<std::string> saved =
      before ? std::optional<std::string>(before) : std::nullopt;
  fs::create_directories(dir.File("tmp"));
  setenv("TMPDIR", dir.File("tmp").c_str(), 1);
  const std::string mine = Text("my-photos.txt", "/pictures/one.jpg\n/pictures/two.jpg\n");
  const std::string handed = dir.File("tmp/TempA1B2.tmp");
  fs::copy_file(mine, handed);
  Open();
  ASSERT_TRUE(window->OpenArguments({QString::fromStdString(mine)}));
  ASSERT_TRUE(window->OpenArguments({QString::fromStdString(handed)}));
  EXPECT_EQ(window->Session().PictureFiles().size(), 4u);
  EXPECT_TRUE(FileExists(mine));
  EXPECT_FALSE(FileExists(handed));
  if (saved) {
    setenv("TMPDIR", saved->c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

// "&Always use those settings" where the settings cannot be written: the user hears of it.
TEST_F(WorkFolderWindow, SettingsThatCannotBeStoredAreTold) {
  fs::create_directories(paths.SettingsFile());
  Open();
  window->findChild<QAction*>("SettingsMnu")->trigger();
  ASSERT_EQ(asker.told.size(), 1u);
  EXPECT_NE(asker.told[0].find("could not be stored"), std::string::npos) << asker.told[0];
}

}  // namespace
}  // namespace tovak
