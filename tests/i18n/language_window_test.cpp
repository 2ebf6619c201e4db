#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/tfm_plimo_main_screen.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "editor/working_folder.h"
#include "i18n/ts_file.h"
#include "support/fake_wave_device.h"
#include "support/main_window_fixture.h"
#include "support/package_fixture.h"
#include "support/unprivileged.h"

namespace tovak {
namespace {

// Answers every question with Yes and confirms every dialog; in the language dialog it picks
// the language named by pick first.
class LanguageAsker : public MainScreenWindowAsker {
 public:
  Answer Ask(Kind, const std::string&, bool) override { return Answer::Yes; }
  void Tell(Kind, const std::string& text) override { told.push_back(text); }
  int Exec(QDialog& dialog) override {
    if (auto* list = dialog.findChild<QListWidget*>("lbLanguages")) {
      const auto found = list->findItems(pick, Qt::MatchExactly);
      if (!found.isEmpty()) list->setCurrentItem(found.front());
    }
    return QDialog::Accepted;
  }
  bool AskSaveName(std::string&, int&) override { return false; }

  QString pick;
  std::vector<std::string> told;
};

class LanguageWindow : public testing::MainWindowFixture<LanguageAsker> {
 protected:
  LanguageWindow() { QLocale::setDefault(QLocale("en_US")); }
  ~LanguageWindow() override {
    window.reset();
    folder.reset();
    QLocale::setDefault(QLocale::c());
  }

  void WriteGermanDictionary() {
    Dictionary dictionary;
    dictionary.languages.push_back({1033, "en", "English", {}});
    dictionary.languages.push_back(
        ToDictionaryLanguage(ReadTsFile(std::string(TOVAK_I18N_FIXTURES) + "/fixture_de.ts")));
    WriteDictionary(paths.ProgramFolder() + "tovak!.mld", dictionary);
  }

  void Open() {
    MainWindowFixture::Open();
    QCoreApplication::processEvents();
  }

  void Choose(const QString& language) {
    asker.pick = language;
    window->findChild<QAction*>("LanguageSelectionMnu")->trigger();
    QCoreApplication::processEvents();
  }

  QString Caption(const char* name) { return window->findChild<QPushButton*>(name)->text(); }
  bool SettingsWritten() { return FileExists(paths.ProgramFolder() + "Language Settings.ini"); }
};

TEST_F(LanguageWindow, WithoutDictionaryTheEntryIsOffAndTextsStayEnglish) {
  Open();
  EXPECT_FALSE(window->findChild<QAction*>("LanguageSelectionMnu")->isEnabled());
  EXPECT_EQ(Caption("btClose"), "C&lose");
  EXPECT_FALSE(SettingsWritten());
}

TEST_F(LanguageWindow, FirstStartAndPickingTheCurrentLanguageWriteNothing) {
  WriteGermanDictionary();
  Open();
  EXPECT_TRUE(window->findChild<QAction*>("LanguageSelectionMnu")->isEnabled());
  EXPECT_EQ(window->Dictionary().Language(), 1033);
  Choose("English");
  EXPECT_FALSE(SettingsWritten());
  EXPECT_EQ(Caption("btClose"), "C&lose");
}

TEST_F(LanguageWindow, GermanReachesTheWindowAtOnceAndAtTheNextStart) {
  WriteGermanDictionary();
  Open();
  Choose("Deutsch");
  EXPECT_EQ(IniFile(paths.ProgramFolder() + "Language Settings.ini")
                .ReadInteger("Current Language", "Id", -1),
            1031);
  const auto expectGerman = [&] {
    EXPECT_EQ(Caption("btClose"), "Schl&ießen");
    EXPECT_EQ(Caption("btGo"), "&Los!");
    EXPECT_EQ(window->findChild<QMenu*>("FileMnu")->title(), "&Datei");
    EXPECT_EQ(window->windowTitle(), "Quillora Tovak! [Unbenannte Diashow] ");
    EXPECT_EQ(window->Dictionary().LanguageIndex(), 2);
  };
  expectGerman();
  Open();
  expectGerman();
}

TEST_F(LanguageWindow, AfterACreationTheChangeTranslatesEdit) {
  WriteGermanDictionary();
  Open();
  // An empty project fails, which also turns "&Go!" into "&Edit!".
  QTest::mouseClick(window->findChild<QPushButton*>("btGo"), Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_EQ(Caption("btGo"), "&Edit!");
  Choose("Deutsch");
  EXPECT_EQ(Caption("btGo"), "&Bearbeiten!");
}

// An installed copy: the program's folder cannot be written, so the choice goes to the user's
// settings folder and is read back from there; a language stored beside the program by whoever
// installed it holds until the user picks one.
TEST_F(LanguageWindow, AnInstalledCopyKeepsTheChoiceInTheUsersFolder) {
  namespace fs = std::filesystem;
  WriteGermanDictionary();
  ASSERT_TRUE(IniFile(paths.ProgramFolder() + "Language Settings.ini")
                  .WriteInteger("Current Language", "Id", 1033));
  fs::permissions(dir.Path(), fs::perms(0755));
  fs::permissions(paths.ProgramFolder(), fs::perms(0555));
  for (const std::string& open : {dir.File("settings"), dir.File("work")}) {
    fs::create_directories(open);
    fs::permissions(open, fs::perms::all);
  }
  paths.SetWorkFolder(dir.File("work"));
  {
    testing::Unprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    Open();
    EXPECT_EQ(window->Dictionary().Language(), 1033);
    Choose("Deutsch");
    Open();
    EXPECT_EQ(Caption("btClose"), "Schl&ießen");
    EXPECT_TRUE(asker.told.empty());
    window.reset();
    folder.reset();
  }
  fs::permissions(paths.ProgramFolder(), fs::perms(0755));
  EXPECT_EQ(IniFile(paths.SettingsFolder() + "Language Settings.ini")
                .ReadInteger("Current Language", "Id", -1),
            1031);
  EXPECT_EQ(IniFile(paths.ProgramFolder() + "Language Settings.ini")
                .ReadInteger("Current Language", "Id", -1),
            1033);
}

// Nowhere to store it: the user is told, and the choice holds for the rest of the run.
TEST_F(LanguageWindow, AChoiceThatCannotBeStoredIsTold) {
  WriteGermanDictionary();
  std::filesystem::create_directories(paths.ProgramFolder() + "Language Settings.ini");
  Open();
  Choose("Deutsch");
  ASSERT_EQ(asker.told.size(), 1u);
  EXPECT_NE(asker.told[0].find("could not be stored"), std::string::npos) << asker.told[0];
  EXPECT_EQ(Caption("btClose"), "Schl&ießen");
}

}  // namespace
}  // namespace tovak
