#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <deque>
#include <filesystem>
#include <new>
#include <thread>

#include "app/tfm_plimo_main_screen.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "editor/working_folder.h"
#include "i18n/dictionary.h"
#include "i18n/language_dictionary.h"
#include "i18n/language_id_setting.h"
#include "support/fake_wave_device.h"
#include "support/main_window_fixture.h"
#include "support/package_fixture.h"

namespace tovak {
namespace {

using Answer = MainScreenAsker::Answer;

class ScriptedAsker : public MainScreenWindowAsker {
 public:
  Answer Ask(Kind, const std::string& text, bool) override {
    asked.push_back(text);
    const Answer answer = answers.empty() ? Answer::Yes : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void Tell(Kind, const std::string& text) override {
    told.push_back(text);
    if (onTell) onTell();
  }
  // Dialogs are not shown: each is answered from results, OK when it runs out.
  int Exec(QDialog& dialog) override {
    shown.push_back(dialog.objectName().toStdString());
    const int result = results.empty() ? QDialog::Accepted : results.front();
    if (!results.empty()) results.pop_front();
    return result;
  }

  // The save dialog: cancelled while saveName is empty.
  bool AskSaveName(std::string& name, int& filterIndex) override {
    if (onSaveName) onSaveName();
    if (saveName.empty()) return false;
    name = saveName;
    filterIndex = saveFilter;
    return true;
  }

  std::deque<Answer> answers;  // Yes when empty
  std::deque<int> results;
  std::vector<std::string> asked, told, shown;
  std::string saveName;
  int saveFilter = 0;
  std::function<void()> onTell, onSaveName;
};

const std::string kFailure = "The following error occured during the creation process:\r";
const std::string kDiscardOnClose =
    "The slideshow you are working on is not saved. Do you want to discard it, with its messages "
    "and recordings?\n\nYes discards it. No keeps it for the next start. Cancel goes back to it.";

class MainWindow : public testing::MainWindowFixture<ScriptedAsker> {
 protected:
  template <typename T = QWidget>
  T* Find(const char* name) {
    // The editor, a child of the window, has controls of the same names.
    T* found = window->centralWidget()->findChild<T*>(name);
    if (!found) found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  bool Shown(const char* name) { return Find(name)->isVisible(); }
  QString Caption(const char* name) { return Find<QAbstractButton>(name)->text(); }

  void AddPictures(int count) {
    MainScreenSession& session = window->Session();
    for (int i = 0; i < count; ++i) {
      session.PictureFiles().push_back(Picture("p" + std::to_string(i) + ".jpg"));
      session.MessageFiles().emplace_back();
      session.VoiceFiles().emplace_back();
    }
  }

  // Go!, both dialogs confirmed, and the posted creation run.
  void Create() {
    QTest::mouseClick(Find<QPushButton>("btGo"), Qt::LeftButton);
    QCoreApplication::processEvents();
  }

  void ExpectFinished(bool done) {
    EXPECT_TRUE(Find("btGo")->isEnabled());
    EXPECT_EQ(Caption("btGo"), "&Edit!");
    for (const char* name : {"Gauge", "lbCreationMsg", "btCancel"}) EXPECT_FALSE(Shown(name));
    for (const char* name : {"btPreview", "btSend", "btOpenFolder", "btSave"}) {
      EXPECT_EQ(Shown(name), done) << name;
    }
    EXPECT_TRUE(Find("btClose")->isEnabled());
    EXPECT_EQ(Find<QAction>("SaveMnu")->isEnabled(), done);
    EXPECT_EQ(FileExists(window->Session().Builder().OutputFile), done);
  }
};

TEST_F(MainWindow, FivePicturesRunThroughTheStates) {
  Open();
  EXPECT_EQ(Caption("btGo"), "&Go!");
  for (const char* name : {"Gauge", "btCancel", "btPreview", "btSave"}) EXPECT_FALSE(Shown(name));
  EXPECT_FALSE(Find<QAction>("SaveAsMnu")->isEnabled());
  AddPictures(5);
  auto* gauge = Find<QProgressBar>("Gauge");
  std::vector<int> positions;
  QObject::connect(gauge, &QProgressBar::valueChanged, [&](int value) {
    positions.push_back(value);
    EXPECT_EQ(gauge->maximum(), 5);
  });
  // While the success box is open the window still looks busy, with a full gauge.
  asker.onTell = [&] {
    EXPECT_TRUE(gauge->isVisible() && Shown("btCancel") && Shown("lbCreationMsg"));
    EXPECT_FALSE(Find("btGo")->isEnabled() || Find("btClose")->isEnabled() || Shown("btSend"));
    EXPECT_EQ(gauge->value(), 5);
  };
  Create();
  EXPECT_EQ(asker.shown, (std::vector<std::string>{"TfmManual", "TfmSlideshowProps"}));
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(asker.told,
            std::vector<std::string>{
                "Quillora Tovak! has successfully created a talking slideshow!\r\nIt is not saved "
                "yet: press Save to keep it."});
  EXPECT_EQ(window->Session().Settings().SlideshowPath, window->Session().Builder().OutputFile);
  EXPECT_EQ(window->Session().Settings().ProjectConfirmed, 1);
  EXPECT_EQ(Find<QLabel>("lbPictureCount")->text(), "5");
  ExpectFinished(true);
}

// The result buttons and the menu save through the result actions; a saved result no longer
// asks at closing.
TEST_F(MainWindow, SaveAsZipNamesTheCaptionAndSilencesTheCloseQuestion) {
  Open();
  AddPictures(2);
  Create();
  asker.saveName = dir.File("Trip.exe");
  asker.saveFilter = SaveDialogData::kZipFilter;
  Find<QAction>("SaveAsMnu")->trigger();
  EXPECT_TRUE(FileExists(dir.File("Trip.zip")));
  EXPECT_TRUE(window->windowTitle().contains("[Trip.zip]")) << window->windowTitle().toStdString();
  EXPECT_TRUE(window->Session().SlideshowSaved());

  asker.saveName = dir.File("Again.exe");
  asker.saveFilter = SaveDialogData::kExeFilter;
  QTest::mouseClick(Find<QPushButton>("btSave"), Qt::LeftButton);  // saved: no name asked
  EXPECT_FALSE(FileExists(dir.File("Again.exe")));
  const size_t asked = asker.asked.size();
  EXPECT_TRUE(window->close());
  EXPECT_EQ(asker.asked.size(), asked);
}

// A second build must not be saved over the first one's good file while it is being written.
TEST_F(MainWindow, ResultActionsWaitForTheBuildAndSurviveALackOfMemory) {
  Open();
  AddPictures(2);
  Create();
  const std::string trip = dir.File("Trip.exe");
  asker.saveName = trip;
  Find<QAction>("SaveAsMnu")->trigger();
  const std::vector<uint8_t> good = testing::ReadBytes(trip);
  ASSERT_TRUE(window->Session().SlideshowSaved());

  AddPictures(3);
  bool checked = false;
  QObject::connect(Find<QProgressBar>("Gauge"), &QProgressBar::valueChanged, [&](int value) {
    if (value != 2 || checked) return;
    checked = true;
    EXPECT_FALSE(Find<QAction>("SaveMnu")->isEnabled());
    EXPECT_FALSE(Find<QAction>("SaveAsMnu")->isEnabled());
    for (const char* name : {"btPreview", "btSend", "btOpenFolder", "btSave"})
      EXPECT_FALSE(Find(name)->isEnabled()) << name;
    window->Results().SaveMenu();  // should a shortcut still reach it
  });
  Create();
  ASSERT_TRUE(checked);
  EXPECT_EQ(testing::ReadBytes(trip), good);
  EXPECT_FALSE(window->Session().SlideshowSaved());
  EXPECT_TRUE(Find<QAction>("SaveMnu")->isEnabled());
  EXPECT_TRUE(Find("btSave")->isEnabled());

  asker.onSaveName = [] { throw std::bad_alloc(); };
  Find<QAction>("SaveAsMnu")->trigger();
  EXPECT_EQ(asker.told.back(),
            "There is not enough memory to finish this. Please close other programs and try "
            "again.");
  EXPECT_FALSE(window->Session().SlideshowSaved());
  EXPECT_TRUE(Find<QAction>("SaveAsMnu")->isEnabled());
}

TEST_F(MainWindow, WebFilterSavesTheShowAsOnePage) {
  Open();
  AddPictures(2);
  Create();
  const size_t told = asker.told.size();
  asker.saveName = dir.File("Trip");
  asker.saveFilter = SaveDialogData::kHtmlFilter;
  Find<QAction>("SaveAsMnu")->trigger();
  std::ifstream in(dir.File("Trip.html"));
  const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(page.find("<title>Trip</title>"), std::string::npos);
  size_t pictures = 0;
  for (size_t at = 0; (at = page.find("data:image/jpeg;base64,", at)) != std::string::npos; ++at)
    ++pictures;
  EXPECT_EQ(pictures, 2u);
  EXPECT_TRUE(window->windowTitle().contains("[Trip.html]"));
  EXPECT_EQ(asker.told.size(), told);
}

TEST_F(MainWindow, CancelAskedDuringTheBuild) {
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    Open();
    AddPictures(5);
    asker.answers = {answer};
    asker.told.clear();
    QObject::connect(Find<QProgressBar>("Gauge"), &QProgressBar::valueChanged, [&](int value) {
      if (value == 2) QTest::mouseClick(Find<QPushButton>("btCancel"), Qt::LeftButton);
    });
    Create();
    ASSERT_EQ(asker.told.size(), 1u);
    if (answer == Answer::Yes) {
      EXPECT_EQ(asker.told[0], kFailure + "Operation canceled by user.");
    } else {
      EXPECT_EQ(asker.told[0],
                "Quillora Tovak! has successfully created a talking slideshow!\r\nIt is not saved "
                "yet: press Save to keep it.");
    }
    ExpectFinished(answer == Answer::No);
    window.reset();
  }
  EXPECT_EQ(asker.asked,
            std::vector<std::string>(2, "Are you sure you want to cancel the process?"));
}

// The window's own close box stays usable during a build: a Yes stops the build, then closes.
TEST_F(MainWindow, ClosingDuringABuildCancelsIt) {
  Open();
  AddPictures(5);
  QObject::connect(Find<QProgressBar>("Gauge"), &QProgressBar::valueChanged, [&](int value) {
    if (value == 2) window->close();
  });
  Create();
  EXPECT_EQ(asker.asked, (std::vector<std::string>{"Are you sure you want to cancel the process?",
                                                   kDiscardOnClose}));
  EXPECT_TRUE(asker.told.empty());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(FileExists(window->Session().Builder().OutputFile));
}

TEST_F(MainWindow, EmptyProjectEndsInTheFailureBox) {
  Open();
  Create();
  EXPECT_EQ(asker.told, std::vector<std::string>{kFailure + "No files found to process."});
  ExpectFinished(false);
  // Closing asks nothing when nothing was made.
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(asker.asked.empty());
}

TEST_F(MainWindow, ShowBannerSetting) {
  std::filesystem::create_directories(paths.SettingsFolder());
  IniFile ini(paths.SettingsFile());
  for (const int stored : {-1, 3}) {
    ini.WriteInteger("Tovak! Settings", "ShowBanner", stored);
    Open();
    auto* entry = Find<QAction>("ShowBannerMnu");
    EXPECT_EQ(entry->isVisible(), stored != -1);
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(Shown("imgBanner"));
    EXPECT_EQ(Find("btClose")->pos(), QPoint(368, 250));
    EXPECT_EQ(window->centralWidget()->height(), 355 - TfmPlimoMainScreen::kFrameAllowance);
    if (stored == 3) {
      // Ticked without a picture loaded: the room for it, and the button below it.
      entry->trigger();
      EXPECT_EQ(Find("btClose")->pos(), QPoint(340, 380));
      EXPECT_EQ(window->centralWidget()->height(), 466 - TfmPlimoMainScreen::kFrameAllowance);
      entry->trigger();
    }
    window.reset();
    EXPECT_EQ(IniFile(paths.SettingsFile()).ReadInteger("Tovak! Settings", "ShowBanner", 9),
              stored == -1 ? -1 : 0);
  }
}

// Without a link list the "Internet" menu would open onto nothing; the About box says what the
// program is and where its files are.
TEST_F(MainWindow, NoEmptyInternetMenuAndAnAboutBoxThatSaysWhereFilesAre) {
  Open();
  EXPECT_FALSE(Find<QMenu>("InternetMnu")->menuAction()->isVisible());
  asker.told.clear();
  Find<QAction>("AboutProgramMnu")->trigger();
  ASSERT_EQ(asker.told.size(), 1u);
  const std::string& about = asker.told[0];
  for (const std::string& part : {std::string("Licence: "), paths.ProgramFolder(),
                                  paths.WorkFolder(), paths.SettingsFile()}) {
    EXPECT_NE(about.find(part), std::string::npos) << part;
  }
}

TEST_F(MainWindow, AppearanceHidesByMenuPlusEntry) {
  std::filesystem::create_directories(paths.SettingsFolder());
  IniFile ini(paths.SettingsFile());
  ini.WriteInteger("Appearance", "2", 2);
  for (const int stored : {6, 7}) {
    ini.WriteInteger("Appearance", "1,6", stored);
    Open();
    EXPECT_EQ(Find<QAction>("LanguageSelectionMnu")->isVisible(), stored == 6);
    EXPECT_TRUE(Find<QAction>("SettingsMnu")->isVisible());
    EXPECT_FALSE(Find<QMenu>("InternetMnu")->menuAction()->isVisible());
    EXPECT_TRUE(Find<QMenu>("AboutMnu")->menuAction()->isVisible());
    window.reset();
  }
}

TEST_F(MainWindow, CommandLineListsAndPictures) {
  Open();
  const std::string list = Text("handover.txt", "/pictures/one.jpg\r\n\r\n/pictures/three.jpg\r\n");
  ASSERT_TRUE(IsHandOverList(list));
  ASSERT_TRUE(window->OpenArguments({QString::fromStdString(list), "/no/such/file.jpg"}));
  EXPECT_EQ(Find<QLabel>("lbPictureCount")->text(), "3");
  EXPECT_EQ(window->Session().PictureFiles(),
            (std::vector<std::string>{"/pictures/one.jpg", "", "/pictures/three.jpg"}));
  EXPECT_EQ(window->Session().VoiceFiles().size(), 3u);
  EXPECT_FALSE(FileExists(list));

  window.reset();
  Open();
  const std::string picture = Picture("photo.jpg");
  EXPECT_FALSE(IsHandOverList(picture));
  EXPECT_FALSE(IsHandOverList(Text("notes.txt", "/pictures/one.jpg\nnot a path\n")));
  ASSERT_TRUE(window->OpenArguments({QString::fromStdString(picture)}));
  EXPECT_EQ(window->Session().PictureFiles(), std::vector<std::string>{picture});
  EXPECT_EQ(Find<QLabel>("lbPictureCount")->text(), "1");
  EXPECT_TRUE(FileExists(picture));
}

// A copy run from its build folder works beside itself; an installed one, even run by a root
// who could write there, never leaves work in the package's folder.
TEST(WorkFolder, BesideABuiltCopyButNeverInAnInstalledOne) {
  testing::TempDir dir;
  const std::string program = dir.File("program");
  std::filesystem::create_directories(program);
  EXPECT_EQ(ChooseWorkFolder(program, dir.File("data")), program + "/Waves/");
  testing::WriteBytes(program + "/" + kInstalledCopyMarker, {});
  EXPECT_EQ(ChooseWorkFolder(program, dir.File("data")), dir.File("data") + "/Waves/");
}

TEST(LinkMenu, EntriesInTheLanguageOrElseTheFirst) {
  // Two languages, two links; the second link has no caption in the second language.
  const std::vector<std::string> list{"2", "2", "Home", "h1", "Heim", "h2", "Help", "e1", "", "e2"};
  const auto captions = [&](int language) {
    std::vector<std::string> result;
    for (const LinkEntry& entry : LinkMenuEntries(list, language)) {
      result.push_back(entry.caption + " " + entry.address);
    }
    return result;
  };
  EXPECT_EQ(captions(2), (std::vector<std::string>{"Heim h2", "Help e1"}));
  EXPECT_EQ(captions(0), (std::vector<std::string>{"Home h1", "Help e1"}));
  EXPECT_EQ(captions(3), captions(0));
  EXPECT_TRUE(LinkMenuEntries({"2", "5", "Home"}, 1).empty());  // too short: nothing read past it
}

TEST_F(MainWindow, CloseQuestionWhileTheResultIsUnsaved) {
  Open();
  testing::WriteBytes(window->Session().Builder().OutputFile, engine);
  int saves = 0;
  window->Session().Save = [&] { ++saves; };
  asker.answers = {Answer::Cancel, Answer::Yes};
  window->close();
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(asker.asked,
            std::vector<std::string>(2, "Do you want to save the slideshow before you exit?"));
  window->Session().MarkSaved(dir.File("Holiday.exe"));
  EXPECT_EQ(window->windowTitle(), "Quillora Tovak! [Holiday.exe] ");
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(asker.asked.size(), 2u);

  window->show();
  window->Session().StartCreation();  // a new creation is unsaved again
  asker.answers = {Answer::No};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(asker.asked.size(), 3u);
  window.reset();
  EXPECT_EQ(IniFile(paths.SettingsFile()).ReadString("Tovak! Settings", "Last Folder", "?"),
            dir.Path().string());
}

TEST_F(MainWindow, OffersBackAnUnfinishedProject) {
  const ProjectLists lists{{Picture("a.jpg"), Picture("b.jpg")}, {"", ""}, {"", ""}};
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    {
      WorkingFolder crashed(paths.WorkFolder());
      ASSERT_TRUE(crashed.Claim());
      ASSERT_TRUE(crashed.SaveJournal(lists));
    }  // gone without Release(), as a crash leaves it
    asker.answers = {answer};
    Open();
    EXPECT_EQ(asker.asked.back(), "Restore the slideshow you were working on?");
    const bool restored = answer == Answer::Yes;
    EXPECT_EQ(window->Session().PictureFiles().size(), restored ? 2u : 0u);
    EXPECT_EQ(Find<QLabel>("lbPictureCount")->text(), restored ? "2" : "0");
    EXPECT_EQ(folder->HasUnfinishedProject(), restored);
    window.reset();
    EXPECT_FALSE(folder->HasUnfinishedProject());  // a normal end empties the folder
    folder.reset();
  }
}

// The question comes before the window is shown, so it must already speak the chosen language.
TEST_F(MainWindow, AsksToRestoreInTheChosenLanguage) {
  Dictionary dictionary;
  dictionary.languages.push_back({kEnglish, "en", "English", {}});
  dictionary.languages.push_back(
      {1031,
       "de",
       "Deutsch",
       {{{"tovak::MainScreenSession", "Restore the slideshow you were working on?"},
         "Die Diashow wiederherstellen?"}}});
  WriteDictionary(paths.ProgramFolder() + kDictionaryFileName, dictionary);
  LanguageIdSetting(paths.ProgramFolder(), 1031);
  {
    WorkingFolder crashed(paths.WorkFolder());
    ASSERT_TRUE(crashed.Claim());
    ASSERT_TRUE(crashed.SaveJournal({{Picture("a.jpg")}, {""}, {""}}));
  }
  asker.answers = {Answer::No};
  Open();
  ASSERT_FALSE(asker.asked.empty());
  EXPECT_EQ(asker.asked.front(), "Die Diashow wiederherstellen?");
}

// After a build the keyboard is on Preview, Enter presses the focused result button, and a
// screen reader hears the counter as one phrase.
TEST_F(MainWindow, KeyboardLandsOnTheResultAndEnterPressesIt) {
  Open();
  AddPictures(3);
  Create();
  EXPECT_EQ(window->focusWidget(), Find("btPreview"));
  // "In Process..." stands out from the panel's blue by at least 4.5:1.
  auto luminance = [](QColor c) {
    auto linear = [](double v) {
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  auto* message = Find<QLabel>("lbCreationMsg");
  message->ensurePolished();
  const double text = luminance(message->palette().color(message->foregroundRole()));
  const double panel = luminance(QColor(1, 96, 160));
  EXPECT_GE((std::max(text, panel) + 0.05) / (std::min(text, panel) + 0.05), 4.5);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Find("lbPictureCount"))->text(QAccessible::Name),
            "3 Images in talking slideshow");
  int saveAsked = 0;
  asker.onSaveName = [&] { ++saveAsked; };
  Find("btSave")->setFocus();
  QTest::keyClick(Find("btSave"), Qt::Key_Return);
  EXPECT_EQ(saveAsked, 1);
  // The keyboard stays on the button: the next Enter saves again rather than offering to exit.
  EXPECT_EQ(window->focusWidget(), Find("btSave"));
  QTest::keyClick(window->focusWidget(), Qt::Key_Return);
  EXPECT_EQ(saveAsked, 2);
  EXPECT_TRUE(asker.asked.empty());
}

// Leaving the editor without Go! still shows how many pictures there are, and a Yes to the
// save question ends the program once the slideshow is saved.
TEST_F(MainWindow, EditorClosedCountsAndASavingYesExits) {
  Open();
  AddPictures(2);
  asker.results = {QDialog::Rejected};
  QTest::mouseClick(Find<QPushButton>("btGo"), Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>("lbPictureCount")->text(), "2");

  testing::WriteBytes(window->Session().Builder().OutputFile, engine);
  window->Session().Save = [&] { window->Session().MarkSaved(dir.File("Kept.exe")); };
  asker.answers = {Answer::Yes};
  window->close();
  EXPECT_FALSE(window->isVisible());
}

// A change after the build, seen when the editor is left, makes Preview and Save ask first.
TEST_F(MainWindow, ResultOfAnOlderProjectIsMarkedOutdated) {
  Open();
  AddPictures(2);
  Create();
  // The bar shows no text; a screen reader hears how far the build went.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Find("Gauge"))->text(QAccessible::Description),
            "100 % done");
  int saveAsked = 0;
  asker.onSaveName = [&] { ++saveAsked; };
  asker.asked.clear();
  QTest::mouseClick(Find<QPushButton>("btSave"), Qt::LeftButton);
  EXPECT_TRUE(asker.asked.empty());
  EXPECT_EQ(saveAsked, 1);

  AddPictures(1);
  asker.results = {QDialog::Rejected};
  QTest::mouseClick(Find<QPushButton>("btGo"), Qt::LeftButton);
  asker.answers = {Answer::No, Answer::No};
  QTest::mouseClick(Find<QPushButton>("btPreview"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>("btSave"), Qt::LeftButton);
  ASSERT_EQ(asker.asked.size(), 2u);
  EXPECT_NE(asker.asked[1].find("does not show the changes"), std::string::npos);
  EXPECT_EQ(saveAsked, 1);

  Create();  // built again: nothing to ask
  asker.asked.clear();
  QTest::mouseClick(Find<QPushButton>("btSave"), Qt::LeftButton);
  EXPECT_TRUE(asker.asked.empty());
  EXPECT_EQ(saveAsked, 2);
}

// The video is made on another thread: the window keeps handling events, its Cancel stops the
// work at once, and closing the window waits for the work to stop.
TEST_F(MainWindow, SlowVideoExportStopsOnCancelAndOnClose) {
  Open();
  AddPictures(2);
  Create();
  window->Results().ExportVideo = [](const std::string&, const std::string&,
                                     const VideoExportOptions& options) -> VideoExportReport {
    for (int i = 1; options.progress(2, 2, std::min(i, 99)); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    throw EVideoExportCancelled("stopped");
  };
  asker.saveName = dir.File("Trip.mp4");
  asker.saveFilter = SaveDialogData::kVideoFilter;
  const size_t told = asker.told.size();
  QElapsedTimer clock;
  qint64 cancelledAt = -1;
  bool othersOff = false;
  QTimer::singleShot(300, window.get(), [&] {
    auto* dialog = window->findChild<QProgressDialog*>("ProgressRunnerDialog");
    if (!dialog || !dialog->isVisible()) return;
    othersOff = !Find<QAction>("SaveAsMnu")->isEnabled() && !Find("btSave")->isEnabled();
    cancelledAt = clock.elapsed();
    QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
  });
  clock.start();
  Find<QAction>("SaveAsMnu")->trigger();
  ASSERT_GE(cancelledAt, 0);
  EXPECT_LT(clock.elapsed() - cancelledAt, 1000);
  EXPECT_TRUE(othersOff);
  EXPECT_FALSE(FileExists(dir.File("Trip.mp4")) || window->Session().SlideshowSaved());
  EXPECT_EQ(asker.told.size(), told);
  EXPECT_EQ(window->focusWidget(), Find("btPreview"));

  asker.answers = {Answer::No};  // do not save before leaving
  asker.asked.clear();
  QTimer::singleShot(200, window.get(), [&] { window->close(); });
  Find<QAction>("SaveAsMnu")->trigger();
  QCoreApplication::processEvents();  // then the close goes on as ever
  EXPECT_EQ(asker.asked,
            std::vector<std::string>{"Do you want to save the slideshow before you exit?"});
  EXPECT_FALSE(window->isVisible());
}

// Esc, Alt+L and the close box ask before a project that no saved slideshow holds is given up;
// Cancel stays with everything, No closes and leaves the files and the journal for the next start
// to restore. A change made after a save asks again.
TEST_F(MainWindow, ClosingAsksBeforeUnsavedWorkIsLost) {
  Open();
  AddPictures(2);
  MainScreenSession& session = window->Session();
  const std::string message = paths.WorkFolder() + "note.txt";
  testing::WriteBytes(message, {'H', 'i', '\r', '\n'});
  session.MessageFiles()[0] = message;
  ASSERT_TRUE(folder->SaveJournal({session.PictureFiles(), session.MessageFiles(), {"", ""}}));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  asker.answers = {Answer::Cancel, Answer::Cancel, Answer::Cancel};
  QTest::keyClick(window.get(), Qt::Key_Escape);
  QTest::keyClick(window.get(), Qt::Key_L, Qt::AltModifier);
  QTest::qWait(150);  // a button shows itself pressed before it acts
  window->close();
  EXPECT_EQ(asker.asked, std::vector<std::string>(3, kDiscardOnClose));
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(FileExists(message));
  EXPECT_TRUE(folder->HasUnfinishedProject());

  Create();
  asker.saveName = dir.File("Trip.exe");
  Find<QAction>("SaveAsMnu")->trigger();
  asker.asked.clear();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(asker.asked.empty());
  window->show();
  testing::WriteBytes(message, {'H', 'e', 'l', 'l', 'o', '\r', '\n'});
  asker.answers = {Answer::Cancel, Answer::No};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->close());
  EXPECT_EQ(asker.asked, std::vector<std::string>(2, kDiscardOnClose));
  EXPECT_TRUE(session.KeepsProjectOnClose());
  window.reset();
  EXPECT_TRUE(FileExists(message));
  EXPECT_TRUE(folder->HasUnfinishedProject());
}

// The window's own boxes, and every dialog accepted.
// The name offered for a first save is in the user's language like the rest of the dialog.
TEST(SaveDialog, OffersTheDefaultNameTranslated) {
  class German : public QTranslator {
   public:
    QString translate(const char* context, const char* text, const char*, int) const override {
      return QByteArray(context) == "tovak::ResultActions" &&
                     QByteArray(text) == "My Talking Slideshow.exe"
                 ? QStringLiteral("Meine sprechende Diashow.exe")
                 : QString();
    }
    bool isEmpty() const override { return false; }
  } german;
  QCoreApplication::installTranslator(&german);
  QString offered;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      offered = dialog->selectedFiles().value(0);
      dialog->reject();
    }
  });
  MainScreenDialogAsker asker(nullptr);
  std::string name;
  int filter = 0;
  EXPECT_FALSE(asker.AskSaveName(name, filter));
  QCoreApplication::removeTranslator(&german);
  EXPECT_EQ(QFileInfo(offered).fileName(), "Meine sprechende Diashow.exe");
}

class BoxAsker : public MainScreenDialogAsker {
 public:
  BoxAsker() : MainScreenDialogAsker(nullptr) {}
  void Tell(Kind, const std::string&) override {}
  int Exec(QDialog&) override { return QDialog::Accepted; }
  bool AskSaveName(std::string& name, int& filterIndex) override {
    name = saveName;
    filterIndex = SaveDialogData::kExeFilter;
    return true;
  }
  std::string saveName;
};

// Save, then Enter twice, must not replace an earlier show; nor may Enter give up the project
// for a slideshow being opened.
class DeletingQuestions : public testing::MainWindowFixture<BoxAsker> {
 protected:
  // Presses Enter in each box that comes up, noting the button it fell on.
  void AnswerWithEnter() {
    auto* timer = new QTimer(window.get());
    QObject::connect(timer, &QTimer::timeout, [this] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(top);
        if (!box || !box->isVisible()) continue;
        QAbstractButton* button = box->defaultButton();
        pressed.push_back(button ? box->standardButton(button) : QMessageBox::NoButton);
        QTest::keyClick(box, Qt::Key_Return);
        if (box->isVisible()) box->reject();
      }
    });
    timer->start(20);
  }
  std::vector<QMessageBox::StandardButton> pressed;
};

TEST_F(DeletingQuestions, EnterAnswersNo) {
  Open();
  MainScreenSession& session = window->Session();
  for (const char* name : {"a.jpg", "b.jpg"}) {
    session.PictureFiles().push_back(Picture(name));
    session.MessageFiles().emplace_back();
    session.VoiceFiles().emplace_back();
  }
  QTest::mouseClick(window->findChild<QPushButton*>("btGo"), Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_TRUE(FileExists(session.Builder().OutputFile));
  const std::string earlier = Text("Trip.exe", "last week's show");
  std::filesystem::copy_file(session.Builder().OutputFile, dir.File("Other.exe"));
  AnswerWithEnter();
  asker.saveName = earlier;
  window->Results().SaveButton();
  EXPECT_EQ(testing::ReadBytes(earlier), testing::ReadBytes(Text("kept.txt", "last week's show")));
  const std::vector<std::string> pictures = session.PictureFiles();
  EXPECT_FALSE(window->OpenSlideshowFile(QString::fromStdString(dir.File("Other.exe"))));
  EXPECT_EQ(session.PictureFiles(), pictures);
  EXPECT_EQ(pressed, std::vector<QMessageBox::StandardButton>(2, QMessageBox::No));
}

TEST_F(DeletingQuestions, EnterOnClosingKeepsTheProject) {
  Open();
  AnswerWithEnter();
  EXPECT_EQ(asker.AskKeepingByDefault("Discard it?"), Answer::No);
  EXPECT_EQ(pressed, std::vector<QMessageBox::StandardButton>{QMessageBox::No});
}

}  // namespace
}  // namespace tovak
