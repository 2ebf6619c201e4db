#include "player/player_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <fstream>

#include "builder/link_menu.h"
#include "builder/plimo.h"
#include "i18n/language_dictionary.h"
#include "i18n/ts_file.h"
#include "player/link_address.h"
#include "player/show_translator.h"
#include "support/package_fixture.h"

namespace tovak {
namespace {

class SilentVoice : public VoiceOutput {
 public:
  bool Start(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) override {
    started.push_back(samples.size());
    this->format = format;
    return true;
  }
  void Stop() override {}
  void Pause() override {}
  void Resume() override {}
  void SetVolume(float value) override { gain = value; }
  std::vector<size_t> started;
  TWaveFormatEx format;
  float gain = 1;
};

class ManualTimer : public AdvanceTimer {
 public:
  void Start(int) override { active = true; }
  void Stop() override { active = false; }
  bool Active() const override { return active; }
  int Remaining() const override { return 0; }
  void Fire() {
    active = false;
    if (Fired) Fired();
  }
  bool active = false;
};

class Window : public ::testing::Test, protected testing::PackageFixture {
 protected:
  void SetUp() override {
    // A red picture with a message and a voice, and a blue one with neither.
    QImage red(400, 300, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(300, 400, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(red.save(QString::fromStdString(dir.File("red.png"))));
    ASSERT_TRUE(blue.save(QString::fromStdString(dir.File("blue.png"))));
    TWavStream wav;
    wav.SetFormat(TWaveFormatEx::Pcm(22050, 1, 8));
    const std::vector<uint8_t> samples(2205, 128);
    wav.Write(samples.data(), 2205);
    wav.SaveToFile(dir.File("red.wav"));
    TPlimo builder(paths);
    builder.SetPictures({dir.File("red.png"), dir.File("blue.png")});
    builder.SetMessages({Text("red.txt", "A red square\nfrom the garden"), ""});
    builder.SetVoices({dir.File("red.wav"), ""});
    builder.TrailerFlag = 1;
    ASSERT_TRUE(builder.Build()) << builder.LastError;
    package.Open(builder.OutputFile);
    OpenWindow();
  }

  void OpenWindow() {
    auto voiceOwned = std::make_unique<SilentVoice>();
    voice = voiceOwned.get();
    auto timerOwned = std::make_unique<ManualTimer>();
    timer = timerOwned.get();
    window =
        std::make_unique<PlayerWindow>(package, std::move(voiceOwned), std::move(timerOwned), 1);
    window->resize(800, 600);
    window->show();
    window->Start();
  }

  // Plays instead a show of one picture with this message and the program's links.
  void PlayAnother(const std::string& message, const std::string& links = "") {
    window.reset();
    std::ofstream(paths.ProgramFolder() + kLinkMenuFileName) << links;
    TPlimo builder(paths);
    builder.SetPictures({dir.File("blue.png")});
    builder.SetMessages({Text("other.txt", message)});
    builder.SetVoices({""});
    builder.TrailerFlag = 1;
    ASSERT_TRUE(builder.Build()) << builder.LastError;
    package.Open(builder.OutputFile);
    OpenWindow();
  }

  QColor CenterOf(const QRect& area) { return window->grab().toImage().pixelColor(area.center()); }

  SlideshowPackage package;
  SilentVoice* voice = nullptr;
  ManualTimer* timer = nullptr;
  std::unique_ptr<PlayerWindow> window;
};

TEST_F(Window, ShowsThePictureWithItsMessageAndPlaysItsVoice) {
  EXPECT_EQ(window->windowTitle(), "~TalkingPlimo.exe");
  EXPECT_EQ(window->CurrentMessage(), "A red square\nfrom the garden");
  ASSERT_EQ(voice->started, std::vector<size_t>{2205});
  EXPECT_EQ(voice->format, TWaveFormatEx::Pcm(22050, 1, 8));
  // The caption band lies below the picture, never over its middle.
  const QRect picture = window->PictureArea(), caption = window->CaptionArea();
  EXPECT_GT(caption.height(), 0);
  EXPECT_LE(picture.bottom(), caption.top());
  EXPECT_LT(caption.height(), window->height() / 3 + 1);
  const QColor middle = CenterOf(picture);
  EXPECT_GT(middle.red(), 200);
  EXPECT_LT(middle.blue(), 60);
}

TEST_F(Window, KeysStepThroughTheShow) {
  QTest::keyClick(window.get(), Qt::Key_Space);
  EXPECT_EQ(window->Sequence().Current(), 1);
  EXPECT_TRUE(window->CurrentMessage().isEmpty());
  EXPECT_EQ(window->CaptionArea().height(), 0);
  EXPECT_GT(CenterOf(window->PictureArea()).blue(), 200);
  QTest::keyClick(window.get(), Qt::Key_Right);  // past the last picture: the end
  EXPECT_TRUE(window->Sequence().Finished());
  QTest::keyClick(window.get(), Qt::Key_Backspace);
  EXPECT_EQ(window->Sequence().Current(), 1);
  QTest::keyClick(window.get(), Qt::Key_Backspace);
  EXPECT_EQ(window->Sequence().Current(), 0);
  QTest::keyClick(window.get(), Qt::Key_End);
  EXPECT_EQ(window->Sequence().Current(), 1);
  QTest::keyClick(window.get(), Qt::Key_Home);
  EXPECT_EQ(window->Sequence().Current(), 0);
  QTest::keyClick(window.get(), Qt::Key_P);
  EXPECT_TRUE(window->Sequence().Paused());
  QTest::mouseClick(window.get(), Qt::LeftButton);
  EXPECT_EQ(window->Sequence().Current(), 1);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(Window, VolumeKeysReachThePlayingVoiceAndSaySo) {
  QTest::keyClick(window.get(), Qt::Key_Down);
  EXPECT_FLOAT_EQ(voice->gain, 0.81f);
  EXPECT_EQ(window->Notice(), "Volume 90 %");
  EXPECT_GT(window->NoticeOpacity(), 0);
  QTest::keyClick(window.get(), Qt::Key_Minus);
  QTest::keyClick(window.get(), Qt::Key_M);
  EXPECT_EQ(voice->gain, 0);
  EXPECT_EQ(window->Notice(), "Muted");
  QTest::keyClick(window.get(), Qt::Key_Up);
  EXPECT_EQ(window->Notice(), "Volume 80 %");
  QTest::keyClick(window.get(), Qt::Key_Plus);
  EXPECT_FLOAT_EQ(voice->gain, 0.81f);
  // None of them moves or pauses the show.
  EXPECT_EQ(window->Sequence().Current(), 0);
  EXPECT_FALSE(window->Sequence().Paused());
  EXPECT_EQ(voice->started.size(), 1u);
  QTest::keyClick(window.get(), Qt::Key_R);
  EXPECT_EQ(voice->started.size(), 2u);
}

TEST_F(Window, TheEndScreenWorksByKeyboardAndMouse) {
  EndScreen& end = window->End();
  QTest::keyClick(window.get(), Qt::Key_End);
  EXPECT_FALSE(end.isVisible());
  timer->Fire();  // the last picture's time is over
  ASSERT_TRUE(window->Sequence().Finished());
  EXPECT_TRUE(end.isVisible());
  EXPECT_EQ(window->focusWidget(), &end.PlayAgainButton());
  EXPECT_EQ(end.PlayAgainButton().accessibleName(), "Play again");
  EXPECT_EQ(end.CloseButton().accessibleName(), "Close");
  // The show's keys still work over the buttons.
  QTest::keyClick(&end.PlayAgainButton(), Qt::Key_Left);
  EXPECT_FALSE(end.isVisible());
  EXPECT_EQ(window->Sequence().Current(), 1);
  EXPECT_EQ(window->focusWidget(), window.get());

  timer->Fire();
  QTest::keyClick(&end.PlayAgainButton(), Qt::Key_Down);
  EXPECT_EQ(window->Notice(), "Volume 90 %");
  QTest::mouseClick(&end.PlayAgainButton(), Qt::LeftButton);
  EXPECT_EQ(window->Sequence().Current(), 0);
  EXPECT_FALSE(end.isVisible());

  QTest::keyClick(window.get(), Qt::Key_End);
  timer->Fire();
  QTest::keyClick(&end.PlayAgainButton(), Qt::Key_Tab);
  ASSERT_EQ(window->focusWidget(), &end.CloseButton());
  QTest::keyClick(&end.CloseButton(), Qt::Key_F1);  // the key list gives the focus back
  QTest::keyClick(&window->Help(), Qt::Key_A);
  ASSERT_EQ(window->focusWidget(), &end.CloseButton());
  QTest::keyClick(&end.CloseButton(), Qt::Key_Space);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(Window, TheShowSpeaksTheChosenLanguage) {
  const DictionaryLanguage german =
      ToDictionaryLanguage(ReadTsFile(std::string(TOVAK_TRANSLATIONS) + "/tovak_de.ts"));
  DictionaryTranslator translator;
  translator.SetLanguage(&german);
  QCoreApplication::installTranslator(&translator);
  OpenWindow();
  QTest::keyClick(window.get(), Qt::Key_End);
  QTest::keyClick(window.get(), Qt::Key_M);
  EXPECT_EQ(window->Notice(), "Stumm");
  timer->Fire();
  EndScreen& end = window->End();
  ASSERT_TRUE(end.isVisible());
  EXPECT_EQ(end.accessibleName(), "Ende der Vorführung");
  EXPECT_EQ(end.PlayAgainButton().text(), "Noch einmal abspielen");
  EXPECT_EQ(end.PlayAgainButton().accessibleName(), "Noch einmal abspielen");
  EXPECT_EQ(end.CloseButton().text(), "Schließen");
  QTest::keyClick(&end.CloseButton(), Qt::Key_F1);
  EXPECT_TRUE(window->Help().accessibleDescription().contains("Stimme noch einmal hören"));
  EXPECT_TRUE(window->Help().text().contains("Leertaste"));
  QMenu menu;
  window->FillMenu(menu);
  EXPECT_EQ(menu.actions().back()->text(), "Schließen");
  window.reset();
  QCoreApplication::removeTranslator(&translator);
}

TEST(ShowTranslator, ASentShowSpeaksTheSystemsLanguageFromItsOwnTable) {
  const ShowTranslator french("fr_CA.UTF-8");
  EXPECT_FALSE(french.isEmpty());
  const QString closes = french.translate("tovak::EndScreen", "Close", nullptr, -1);
  EXPECT_FALSE(closes.isEmpty());
  EXPECT_NE(closes, "Close");
  // Only the show's texts are built in; the rest stays English, and so does a language we lack.
  EXPECT_TRUE(french.translate("tovak::TfmPlimoMainScreen", "&Go!", nullptr, -1).isNull());
  EXPECT_TRUE(ShowTranslator("ja_JP.UTF-8").isEmpty());
  EXPECT_TRUE(ShowTranslator("C").isEmpty());
}

TEST_F(Window, HelpComesWithF1OrQuestionMarkAndGoesWithAnyKeyOrClick) {
  QTest::keyClick(window.get(), Qt::Key_F1);
  ASSERT_TRUE(window->Help().isVisible());
  EXPECT_TRUE(window->Help().accessibleDescription().contains("Replay the voice"));
  QTest::keyClick(&window->Help(), Qt::Key_Space);  // taken by the list, not the show
  EXPECT_FALSE(window->Help().isVisible());
  EXPECT_EQ(window->Sequence().Current(), 0);
  QTest::keyClick(window.get(), Qt::Key_Question, Qt::ShiftModifier);
  ASSERT_TRUE(window->Help().isVisible());
  QTest::mouseClick(&window->Help(), Qt::LeftButton);
  EXPECT_FALSE(window->Help().isVisible());
  EXPECT_EQ(window->Sequence().Current(), 0);
}

TEST_F(Window, MenuOffersCloseAndThePointerHidesOnlyInFullScreen) {
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  window->showFullScreen();
  EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(window.get(), &move);
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  QTRY_COMPARE_WITH_TIMEOUT(window->cursor().shape(), Qt::BlankCursor, 4000);

  QMenu menu;
  window->FillMenu(menu);
  ASSERT_EQ(menu.actions().size(), 1);  // the package has no links
  EXPECT_EQ(menu.actions().back()->text(), "Close");
  menu.actions().back()->trigger();
  EXPECT_FALSE(window->isVisible());
}

TEST(LinkAddress, OnlyWebAndMailAddressesOpenWhateverTheirSpelling) {
  EXPECT_EQ(OpenableLinkAddress("https://example.org/a?b=1"), "https://example.org/a?b=1");
  EXPECT_EQ(OpenableLinkAddress("HTTP://EXAMPLE.ORG"), "HTTP://EXAMPLE.ORG");
  EXPECT_EQ(OpenableLinkAddress(" \tmailto:gran@example.org\r\n"), "mailto:gran@example.org");
  EXPECT_EQ(OpenableLinkAddress("ht\ttps://example.org"), "https://example.org");
  for (const char* hostile :
       {"file:///etc/passwd", "javascript:alert(1)", "JavaScript:alert(1)", "java\nscript:alert(1)",
        "data:text/html,<script>alert(1)</script>", "vbscript:msgbox(1)", " file:/x", "example.org",
        "/usr/bin/xterm", "https", ""})
    EXPECT_EQ(OpenableLinkAddress(hostile), "") << hostile;
}

TEST_F(Window, OnlyWebAndMailLinksOpenFromTheMenu) {
  PlayAnother("", R"([Settings]
UseInPlayer=1
MenuItems=3
Languages=1
[1_MenuItems]
1_Caption=Files
1_URL=file:///etc/passwd
[2_MenuItems]
1_Caption=Webseite & Blog
1_URL= HTTPS://example.org/
[3_MenuItems]
1_Caption=Script
1_URL=javascript:alert(1)
)");
  std::vector<QString> opened;
  window->OpenLink = [&](const QUrl& url) { opened.push_back(url.toString()); };
  QMenu menu;
  window->FillMenu(menu);
  std::vector<QString> shown;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    // As the menu draws it: an ampersand taken for an access key would vanish.
    shown.push_back(action->iconText());
    if (action->text() != "Close") action->trigger();
  }
  EXPECT_EQ(shown, (std::vector<QString>{"Files", "Webseite & Blog", "Script", "Close"}));
  EXPECT_EQ(opened, std::vector<QString>{"https://example.org/"});
  EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

TEST_F(Window, AHugeMessageIsLaidOutOnceAndCutToTheBand) {
  std::string message;
  // As long as a message may be: a megabyte with its line breaks.
  while (message.size() < 1000000) message += "A very long day at the sea with everyone.\n";
  PlayAnother(message);
  const QString shown = window->ShownCaption();
  EXPECT_TRUE(shown.startsWith("A very long day"));
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
  EXPECT_LT(shown.size(), 2000);
  EXPECT_LE(window->CaptionArea().height(), window->height() / 3);
  EXPECT_GT(window->PictureArea().height(), window->height() / 2);
  // Painting and the fading bar's repaints reuse the layout; a new size lays it out again.
  const int layouts = window->CaptionLayouts();
  EXPECT_LE(layouts, 1);
  for (int i = 0; i < 3; ++i) window->grab();
  EXPECT_EQ(window->CaptionLayouts(), 1);
  window->resize(640, 480);
  window->grab();
  EXPECT_EQ(window->CaptionLayouts(), 2);
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  // Windows are drawn off screen: the tests need no display and show nothing.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
