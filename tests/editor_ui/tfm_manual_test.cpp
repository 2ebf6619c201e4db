#include "editor/ui/tfm_manual.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <functional>
#include <iterator>

#include "editor/ui/desktop_actions.h"
#include "editor/ui/file_list.h"
#include "editor/ui/picture_view.h"
#include "editor/ui/tfm_floating_preview.h"
#include "support/fake_wave_device.h"
#include "support/package_fixture.h"
#include "support/scripted_asker.h"

namespace tovak {
namespace {

class ScriptedAsker : public testing::ScriptedAsker<EditorWindowAsker> {
 public:
  QStringList OpenPictures(QWidget*) override { return chosen; }
  void Tell(Kind kind, const std::string& text) override {
    testing::ScriptedAsker<EditorWindowAsker>::Tell(kind, text);
    if (onTell) onTell();
  }
  QStringList chosen;
  std::function<void()> onTell;
};

class EditorWindow : public ::testing::Test, protected testing::PackageFixture {
 protected:
  EditorWindow() : window(pictures, messages, voices, paths, mic, speaker, &asker) {
    window.Load(false);
    window.show();
  }

  template <typename T = QWidget>
  T* Find(const char* name) {
    T* widget = window.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  FileListView* List() { return Find<FileListView>("lbFiles"); }
  // Alt and a letter, as typed, to the control with the focus; a button shows itself pressed
  // for a moment before it acts.
  void Alt(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    QTest::qWait(150);
  }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = List()->visualRect(List()->model()->index(row, 0));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, rect.center());
  }

  void AddPictures(int count) {
    for (int i = 0; i < count; ++i) {
      asker.chosen << QString::fromStdString(Picture("p" + std::to_string(i) + ".jpg"));
    }
    Click("sbAdd");
  }

  // Records a little sound on the selected picture and lets the take be saved.
  void RecordTake() {
    Click("sbRecord");
    QCoreApplication::processEvents();
    mic.Capture(70000, 0x30);
    Click("sbStop");
    for (int i = 0; i < 20 && window.Session().State().listLocked; ++i) {
      QCoreApplication::processEvents();
    }
    ASSERT_FALSE(window.Session().State().listLocked);
  }

  QString Description(int row) {
    return List()->model()->index(row, 0).data(Qt::AccessibleDescriptionRole).toString();
  }

  std::vector<std::string> pictures, messages, voices;
  testing::FakeWaveIn mic;
  testing::FakeWaveOut speaker;
  ScriptedAsker asker;
  TfmManual window;
};

// The user sees the microphone hear them, and the panel keeps its place when recording starts.
TEST_F(EditorWindow, LevelBarMovesWithTheSound) {
  AddPictures(1);
  auto* level = Find<QProgressBar>("pbInputLevel");
  const QPoint stop = Find<QPushButton>("sbStop")->mapTo(&window, QPoint());
  Click("sbRecord");
  QCoreApplication::processEvents();
  EXPECT_TRUE(level->isEnabled());
  mic.Capture(4000, 0xF8);
  QTest::qWait(250);  // the meter's timer
  EXPECT_GT(level->value(), 80);
  mic.Capture(30000, 0x80);
  QTest::qWait(250);
  EXPECT_LT(level->value(), 5);
  EXPECT_EQ(Find<QPushButton>("sbStop")->mapTo(&window, QPoint()), stop);
  Click("sbStop");
  QCoreApplication::processEvents();
  EXPECT_FALSE(level->isEnabled());
}

TEST_F(EditorWindow, GoWithoutPicturesStaysOpen) {
  Click("btComplete");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Rejected);
  ASSERT_EQ(asker.told.size(), 1u);
  EXPECT_EQ(asker.told[0].second, "You must select files first!");
}

TEST_F(EditorWindow, MessageComesBackWithItsPicture) {
  AddPictures(2);
  ASSERT_EQ(List()->model()->rowCount(), 2);
  auto* box = Find<QPlainTextEdit>("mmMessage");
  ASSERT_TRUE(box->isEnabled());
  QTest::keyClicks(box, "Grandma's garden");
  ClickRow(1);
  EXPECT_EQ(window.Session().State().current, 1);
  EXPECT_EQ(box->toPlainText(), "");
  ClickRow(0);
  EXPECT_EQ(box->toPlainText(), "Grandma's garden");
}

TEST_F(EditorWindow, TwoSelectedShareOnlyErase) {
  AddPictures(2);
  RecordTake();
  ClickRow(1);
  RecordTake();
  ClickRow(0, Qt::ControlModifier);
  EXPECT_EQ(window.Session().State().selected, (std::vector<int>{0, 1}));
  for (const char* name : {"sbRecord", "sbListen", "sbStop"}) {
    EXPECT_FALSE(Find(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(Find("mmMessage")->isEnabled());
  EXPECT_EQ(Description(0), "Voice recorded");

  Click("sbRemoveSound");
  EXPECT_EQ(asker.asked.size(), 1u);
  EXPECT_EQ(Description(0), "No voice");
  EXPECT_EQ(Description(1), "No voice");
  EXPECT_EQ(voices, (std::vector<std::string>{"", ""}));
}

TEST_F(EditorWindow, DeleteKeyAnsweredNoKeepsEverything) {
  AddPictures(3);
  List()->setFocus();
  asker.answers = {false};
  QTest::keyClick(List(), Qt::Key_Delete);
  ASSERT_EQ(asker.asked.size(), 1u);
  EXPECT_EQ(pictures.size(), 3u);
  EXPECT_EQ(List()->model()->rowCount(), 3);
}

TEST_F(EditorWindow, KeysAndPopupFollowTheList) {
  AddPictures(3);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window.Session().State().selected, (std::vector<int>{0, 1, 2}));
  ClickRow(0);
  QTest::keyClick(List(), Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(window.Session().State().items[1], "p0.jpg");
  EXPECT_EQ(window.Session().State().current, 1);

  auto* popup = Find<QMenu>("FileListPopupMenu");
  QStringList enabled;
  for (QAction* action : popup->actions()) {
    if (!action->isSeparator() && action->isEnabled()) enabled << action->objectName();
  }
  EXPECT_EQ(enabled, (QStringList{"InsertShortFilename", "InsertLongFilename", "RecordYourMessage",
                                  "AddNewFiles", "RemoveSelectedFiles", "MoveSelectedFilesUp",
                                  "MoveSelectedFilesDown"}));

  // Without a Menu key: Shift+F10 opens the menu at the current row, and Enter opens its picture.
  bool shown = false;
  QTimer::singleShot(0, popup, [&] {
    shown = popup->isVisible();
    popup->close();
  });
  QTest::keyClick(List(), Qt::Key_F10, Qt::ShiftModifier);
  QTest::qWait(20);
  EXPECT_TRUE(shown);
  QStringList opened;
  window.OpenPicture = [&](const QString& path) {
    opened << path;
    return true;
  };
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(opened,
            QStringList{QString::fromStdString(pictures[window.Session().State().current])});
  EXPECT_TRUE(window.isVisible());
}

TEST(PictureFilters, EveryPairBecomesOneFilter) {
  const QStringList filters = PictureNameFilters();
  ASSERT_EQ(filters.size(), 16);
  EXPECT_TRUE(filters[0].startsWith("All Supported Media Formats (*.BMP *.CMS *.JPG"));
  for (const char* accepted : {"*.JPEG", "*.JPE", "*.PSD", "*.EPS"}) {
    EXPECT_TRUE(filters[0].contains(accepted)) << accepted;
  }
  EXPECT_EQ(filters[3], "JPEG (JPG) (*.JPG)");
  EXPECT_EQ(filters[4], "PC Paintbrush (PCX) (*.PCX)");
  EXPECT_EQ(filters[11], "PCT File (*.PCT)");
  EXPECT_EQ(filters[12], "HEIF Photo (HEIC) (*.HEIC *.HEIF)");
  for (const char* added : {"*.HEIC", "*.HEIF", "*.WEBP", "*.AVIF"}) {
    EXPECT_TRUE(filters[0].contains(added)) << added;
  }
  EXPECT_EQ(filters[15], "All files (*)");
}

// A translated name keeps its patterns: they come from the program, never the translation.
TEST(PictureFilters, EachNameTranslatedOnItsOwn) {
  class German : public QTranslator {
   public:
    QString translate(const char* context, const char* text, const char*, int) const override {
      return QByteArray(context) == "tovak::TfmManual" &&
                     QByteArray(text) == "Portable Graphics (PNG)"
                 ? QStringLiteral("Portable Grafik (PNG)")
                 : QString();
    }
    bool isEmpty() const override { return false; }
  } german;
  QCoreApplication::installTranslator(&german);
  const QStringList filters = PictureNameFilters();
  QCoreApplication::removeTranslator(&german);
  EXPECT_TRUE(filters.contains("Portable Grafik (PNG) (*.PNG)")) << filters.join('|').toStdString();
}

TEST(PictureListFile, OnePathPerLineLeftBehind) {
  const QString path = WritePictureListFile({"/a/one.jpg", "/b/two.png"});
  ASSERT_FALSE(path.isEmpty());
  EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Temp"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "/a/one.jpg\n/b/two.png\n");
  file.remove();
}

TEST_F(EditorWindow, DroppedFilesImportLikeAdd) {
  auto* mime = new QMimeData;
  mime->setUrls({QUrl::fromLocalFile(QString::fromStdString(Picture("a.jpg"))),
                 QUrl::fromLocalFile(QString::fromStdString(Picture("b.jpg"))),
                 QUrl::fromLocalFile(QString::fromStdString(Text("c.jpg", "no picture")))});
  // As a file manager does: the list is entered, then the files are let go over it.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  // The warning about the file left out comes when the window is usable again.
  bool usableAtWarning = false;
  asker.onTell = [&] {
    usableAtWarning = Find("sbAdd")->isVisible() && !Find("pbImport")->isVisible();
  };
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &drop);
  QCoreApplication::processEvents();
  delete mime;
  EXPECT_EQ(Find<QProgressBar>("pbImport")->maximum(), 3);
  EXPECT_EQ(List()->model()->rowCount(), 2);
  EXPECT_EQ(asker.told.size(), 1u);  // the one that is not a picture
  EXPECT_TRUE(usableAtWarning);
  EXPECT_TRUE(Find("sbAdd")->isVisible());
  EXPECT_FALSE(Find("pbImport")->isVisible());
}

TEST_F(EditorWindow, FloatingPreviewFollowsTheSelection) {
  AddPictures(2);
  auto* box = Find<QCheckBox>("cbFloatingPreview");
  auto* inline_ = Find<PictureView>("ltPreview");
  EXPECT_FALSE(inline_->IsEmpty());
  box->click();
  TfmFloatingPreview* floating = window.FloatingPreview();
  ASSERT_TRUE(floating->isVisible());
  EXPECT_FALSE(floating->ltPreview()->IsEmpty());
  EXPECT_TRUE(inline_->IsEmpty());

  const QImage first = floating->ltPreview()->Picture();
  Picture("p1.jpg", 48, 64);  // another shape, so the pictures differ
  ClickRow(1);
  EXPECT_NE(floating->ltPreview()->Picture().size(), first.size());
  EXPECT_TRUE(inline_->IsEmpty());

  QTest::keyClick(floating, Qt::Key_Escape);
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(floating->isVisible());
}

}  // namespace
}  // namespace tovak

namespace tovak {
namespace {

TEST_F(EditorWindow, ClosedWhileListeningShowsIdleNextTime) {
  AddPictures(1);
  RecordTake();
  Click("sbListen");
  auto* status = Find<QLabel>("pnRecStatus");
  ASSERT_EQ(status->text(), "Status: listening...");
  Click("btCancel");
  ASSERT_FALSE(window.isVisible());
  window.Load(false);
  window.show();
  EXPECT_EQ(status->text(), "Status: idle");
}

// The list of all pictures is left behind in the temporary folder for the viewer alone.
TEST_F(EditorWindow, DoubleClickWritesAListOnlyForTheViewer) {
  AddPictures(2);
  testing::TempDir temp;
  struct RestoreTemp {
    bool had = qEnvironmentVariableIsSet("TMPDIR");
    QByteArray value = qgetenv("TMPDIR");
    ~RestoreTemp() { had ? void(qputenv("TMPDIR", value)) : void(qunsetenv("TMPDIR")); }
  } restoreTemp;
  qputenv("TMPDIR", QByteArray::fromStdString(temp.Path().string()));
  QStringList opened;
  window.OpenPicture = [&](const QString& path) {
    opened << path;
    return true;
  };
  auto doubleClick = [&](int row) {
    const QRect rect = List()->visualRect(List()->model()->index(row, 0));
    QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
  };
  doubleClick(1);
  EXPECT_EQ(opened, QStringList{QString::fromStdString(pictures[1])});
  EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));

  // A viewer that notes its command line.
  const std::string noted = dir.File("viewer-args");
  Text("Peekora.exe", "#!/bin/sh\necho \"$@\" > '" + noted + "'\n");
  std::filesystem::rename(dir.File("Peekora.exe"), paths.ProgramFolder() + "Peekora.exe");
  std::filesystem::permissions(paths.ProgramFolder() + "Peekora.exe",
                               std::filesystem::perms::owner_all);
  doubleClick(0);
  for (int i = 0; i < 100 && testing::ReadBytes(noted).empty(); ++i) QTest::qWait(50);
  EXPECT_EQ(opened.size(), 1);
  ASSERT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                          std::filesystem::directory_iterator()),
            1);
  const std::string list = std::filesystem::directory_iterator(temp.Path())->path().string();
  const std::vector<uint8_t> args = testing::ReadBytes(noted);
  EXPECT_EQ(std::string(args.begin(), args.end()), "/RUN " + list + " " + pictures[0] + "\n");
}

// A keyboard user: Enter and Delete by reflex lose nothing, the letters reach their buttons, and
// the focus goes where the work goes on.
TEST_F(EditorWindow, KeyboardLosesNothingAndFollowsTheWork) {
  QApplication::setActiveWindow(&window);
  AddPictures(2);
  EXPECT_EQ(QApplication::focusWidget(), List());
  for (QWidget* target : {static_cast<QWidget*>(List()), Find("lbAdjustVolume")}) {
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible()) << target->objectName().toStdString();
  }
  EXPECT_NE(window.result(), QDialog::Accepted);

  asker.answers = {false, false};
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Delete);
  Alt(Qt::Key_C);
  EXPECT_EQ(asker.askedWithNoDefault,
            (std::vector<std::string>{
                "Remove \"p0.jpg\" from the talking slideshow?\rIts recorded voice and message "
                "are deleted with it.",
                "This removes all pictures with their messages and recordings from the "
                "slideshow. Are you sure?"}));
  EXPECT_EQ(List()->model()->rowCount(), 2);

  // What a screen reader reads of the status panel at each step.
  std::vector<QString> heard;
  auto hear = [&] {
    heard.push_back(
        QAccessible::queryAccessibleInterface(Find("pnRecStatus"))->text(QAccessible::Name));
  };
  Alt(Qt::Key_R);
  EXPECT_EQ(QApplication::focusWidget(), Find("sbStop"));
  hear();
  mic.Capture(70000, 0x30);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  for (int i = 0; i < 20 && window.Session().State().listLocked; ++i) {
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(QApplication::focusWidget(), Find("sbListen"));
  hear();
  asker.answers = {false};
  Alt(Qt::Key_E);
  EXPECT_EQ(asker.askedWithNoDefault.back(), "Remove the sound from selected image(s)?");
  EXPECT_TRUE(window.Session().State().listen);
  Find("sbListen")->setFocus();
  QTest::keyClick(Find("sbListen"), Qt::Key_Return);
  hear();
  EXPECT_EQ(Find("sbListen")->accessibleDescription(), "Stop playing the recording");
  EXPECT_EQ(heard,
            (std::vector<QString>{"Status: recording...", "Status: idle", "Status: listening..."}));

  auto* box = Find<QCheckBox>("cbFloatingPreview");
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_TRUE(window.FloatingPreview()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), box);
}

// The floating preview only shows: the editor keeps the keyboard, the voice buttons stay in
// sight, and a screen reader hears what it is and which picture it shows.
TEST_F(EditorWindow, FloatingPreviewLeavesTheKeyboardAndTheVoiceButtons) {
  QApplication::setActiveWindow(&window);
  AddPictures(2);
  List()->setFocus();
  Alt(Qt::Key_F);
  TfmFloatingPreview* floating = window.FloatingPreview();
  ASSERT_TRUE(floating->isVisible());
  QTest::qWait(50);
  EXPECT_EQ(QApplication::activeWindow(), &window);
  EXPECT_EQ(QApplication::focusWidget(), Find("cbFloatingPreview"));
  for (const char* name : {"sbRecord", "sbStop"}) {
    QWidget* button = Find(name);
    const QRect onScreen(button->mapToGlobal(QPoint()), button->size());
    EXPECT_FALSE(floating->frameGeometry().intersects(onScreen)) << name;
  }
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(floating);
  EXPECT_EQ(reader->text(QAccessible::Name), "Floating Preview");
  EXPECT_EQ(reader->text(QAccessible::Description), "p0.jpg");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(floating->ltPreview())->text(QAccessible::Name),
            "p0.jpg");
}

// A keyboard and screen reader user: the window opens on the pictures, the list and the message
// have access keys, and the two ways to stop while listening have different names.
TEST_F(EditorWindow, KeysReachEveryPartAndStopsHaveDistinctNames) {
  window.hide();
  window.show();
  QApplication::setActiveWindow(&window);
  QTest::qWait(20);
  EXPECT_EQ(QApplication::focusWidget(), List());
  AddPictures(1);
  Alt(Qt::Key_N);
  EXPECT_EQ(QApplication::focusWidget(), Find("mmMessage"));
  Alt(Qt::Key_W);
  EXPECT_EQ(QApplication::focusWidget(), List());

  RecordTake();
  Click("sbListen");
  auto name = [](QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
  };
  EXPECT_NE(name(Find("sbListen")), name(Find("sbStop")));
}

// The focused button is framed as plainly as on the main window, and keeps its place and size.
TEST_F(EditorWindow, FocusedButtonIsClearlyFramed) {
  QApplication::setActiveWindow(&window);
  QPushButton* add = Find<QPushButton>("sbAdd");
  const QRect before = add->geometry();
  add->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(add->geometry(), before);
  const QImage look = add->grab().toImage();
  EXPECT_EQ(QColor(look.pixel(1, look.height() / 2)), QColor(0, 70, 160));
}

// The real question box: Enter answers No to a question that deletes.
TEST(EditorQuestions, EnterAnswersNoToADeletingQuestion) {
  QWidget parent;
  DialogAsker asker(&parent);
  bool defaultNo = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    defaultNo = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(asker.AskBeforeDeleting(EditorAsker::Kind::Information, "Delete?"));
  EXPECT_TRUE(defaultNo);
}

// A first-time user is told how to start, cannot reorder under a recording, and reads every
// size in one unit beside the length of the take.
TEST_F(EditorWindow, PlainFirstStepsAndRecordingFacts) {
  EXPECT_TRUE(Find("lbEmptyHint")->isVisible());
  AddPictures(2);
  EXPECT_FALSE(Find("lbEmptyHint")->isVisible());
  ClickRow(1);
  Click("sbRecord");
  for (const char* name : {"sbAdd", "sbUp", "sbDown"})
    EXPECT_FALSE(Find(name)->isEnabled()) << name;
  QCoreApplication::processEvents();
  mic.Capture(400000, 0x30);
  Click("sbStop");
  for (int i = 0; i < 20 && window.Session().State().listLocked; ++i) {
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(Find("sbAdd")->isEnabled());
  for (const char* name : {"lbSizeBefore", "lbSizeAfter"}) {
    EXPECT_TRUE(Find<QLabel>(name)->text().endsWith(" kB")) << name;
  }
  EXPECT_TRUE(Find<QLabel>("lbElapsed")->text().contains(QRegularExpression("^0:0[1-9]$")))
      << Find<QLabel>("lbElapsed")->text().toStdString();
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(Find("lbSizeBefore"))
                  ->text(QAccessible::Name)
                  .startsWith("Uncompressed: "));
}

}  // namespace
}  // namespace tovak
