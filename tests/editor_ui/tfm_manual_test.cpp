#include "editor/ui/tfm_manual.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
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
}

TEST(PictureFilters, EveryPairBecomesOneFilter) {
  const QStringList filters = PictureNameFilters();
  ASSERT_EQ(filters.size(), 15);
  EXPECT_TRUE(filters[0].startsWith("All Supported Media Formats (*.BMP *.CMS *.JPG"));
  EXPECT_EQ(filters[3], "Jpeg    (JPG) (*.JPG)");
  EXPECT_EQ(filters[11], "PCT File (*.PCT)");
  EXPECT_EQ(filters[12], "HEIF Photo    (HEIC) (*.HEIC *.HEIF)");
  EXPECT_TRUE(filters[0].endsWith("*.PCT *.HEIC *.HEIF *.WEBP *.AVIF)"));
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

}  // namespace
}  // namespace tovak
