#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <filesystem>

#include "app/tfm_settings.h"
#include "common/ini_file.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

template <typename Widget>
Widget* Find(const QWidget& dialog, const char* name) {
  auto* widget = dialog.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

TEST(SettingsDialogs, FirstStartOffersTheDefaultsWithCompactPreselected) {
  testing::TempDir dir;
  TTovakSettings settings;
  ReadSlideshowSettings(IniFile(dir.File("Tovak! Settings.ini")), settings);
  TfmSettings dialog;
  dialog.SetValues(settings.CompactImageIndex, settings.CompactImageQuality,
                   settings.FullImageIndex, settings.FullImageQuality);
  auto* compact = Find<QComboBox>(dialog, "cbCompactImageSize");
  auto* full = Find<QComboBox>(dialog, "cbFullImageSize");
  EXPECT_EQ(Items(compact), QStringList({"800 x 600", "640 x 480", "420 x 255"}));
  EXPECT_EQ(Items(full), QStringList({"Use original sizes", "1600 x 1200", "1280 x 1024",
                                      "1152 x 864", "1024 x 768"}));
  EXPECT_EQ(compact->currentText(), "420 x 255");
  EXPECT_EQ(full->currentText(), "1280 x 1024");
  EXPECT_EQ(Find<QSlider>(dialog, "tbCompactQuality")->value(), 50);
  EXPECT_EQ(Find<QSlider>(dialog, "tbFullQuality")->value(), 80);
  EXPECT_TRUE(dialog.AlwaysUse());

  TfmSlideshowProps props;
  EXPECT_EQ(props.SelectedMode(), cmCompact);
  EXPECT_EQ(props.size(), QSize(440, 302));
}

// The bar's position alone does not say which quality is chosen.
TEST(SettingsDialogs, EachQualityBarShowsItsNumber) {
  TfmSettings dialog;
  dialog.SetValues(0, 50, 0, 80);
  EXPECT_EQ(Find<QLabel>(dialog, "lbCompactQualityValue")->text(), "50");
  EXPECT_EQ(Find<QLabel>(dialog, "lbFullQualityValue")->text(), "80");
  Find<QSlider>(dialog, "tbFullQuality")->setValue(100);
  EXPECT_EQ(Find<QLabel>(dialog, "lbFullQualityValue")->text(), "100");
}

TEST(SettingsDialogs, ARestrictionShowsOneGroupInAShorterDialog) {
  int bothHigh = 0;
  for (int restriction : {0, 1, 2}) {
    SCOPED_TRACE(restriction);
    TfmSettings dialog;
    dialog.SetRestriction(restriction);
    dialog.show();
    EXPECT_EQ(Find<QGroupBox>(dialog, "gbCompactMode")->isVisible(), restriction != 2);
    EXPECT_EQ(Find<QGroupBox>(dialog, "gbFullMode")->isVisible(), restriction != 1);
    EXPECT_EQ(dialog.width(), 462);
    if (restriction == 0) bothHigh = dialog.height();
    EXPECT_LT(dialog.height(), restriction == 0 ? 1000 : bothHigh - 50);
    // No band of nothing between the last group and the buttons.
    auto* last = Find<QWidget>(dialog, restriction == 1 ? "gbCompactMode" : "gbFullMode");
    auto* box = Find<QWidget>(dialog, "cbAlwaysUse");
    EXPECT_LT(
        box->mapTo(&dialog, QPoint(0, 0)).y() - last->mapTo(&dialog, QPoint(0, last->height())).y(),
        20);
    // The buttons stay on the bottom edge, inside the dialog.
    auto* ok = Find<QWidget>(dialog, "btOk");
    EXPECT_LE(ok->mapTo(&dialog, QPoint(0, ok->height())).y(), dialog.height());
    EXPECT_GT(ok->mapTo(&dialog, QPoint(0, 0)).y(), dialog.height() - 60);
  }
}

TEST(SettingsDialogs, OkCopiesTheValuesAndOnlyATickedBoxWritesTheFile) {
  testing::TempDir dir;
  const std::string path = dir.File("Tovak! Settings.ini");
  TTovakSettings settings;
  IniFile ini(path);
  auto change = [](bool alwaysUse, int result) {
    return [=](TfmSettings& dialog) {
      Find<QComboBox>(dialog, "cbCompactImageSize")->setCurrentIndex(0);
      Find<QSlider>(dialog, "tbFullQuality")->setValue(65);
      Find<QCheckBox>(dialog, "cbAlwaysUse")->setChecked(alwaysUse);
      return result;
    };
  };

  EXPECT_FALSE(RunSettingsDialog(settings, 0, ini, nullptr, change(true, QDialog::Rejected)));
  EXPECT_EQ(settings.CompactImageIndex, kDefaultSizeIndex);
  EXPECT_FALSE(std::filesystem::exists(path));

  EXPECT_TRUE(RunSettingsDialog(settings, 0, ini, nullptr, change(false, QDialog::Accepted)));
  EXPECT_EQ(settings.CompactImageIndex, 0);
  EXPECT_EQ(settings.FullImageQuality, 65);
  EXPECT_EQ(GetImageSize(cmCompact, settings.CompactImageIndex).width, 800);
  EXPECT_FALSE(std::filesystem::exists(path));

  EXPECT_TRUE(RunSettingsDialog(settings, 1, ini, nullptr, change(true, QDialog::Accepted)));
  TTovakSettings reread;
  ReadSlideshowSettings(IniFile(path), reread);
  EXPECT_EQ(reread.CompactImageIndex, 0);
  EXPECT_EQ(reread.FullImageQuality, 65);
}

TEST(SettingsDialogs, AnIndexOutsideTheTableLeavesTheListEmptyAndFallsBackSafely) {
  testing::TempDir dir;
  IniFile ini(dir.File("Tovak! Settings.ini"));
  TTovakSettings settings;
  settings.CompactImageIndex = 3;
  settings.FullImageIndex = -7;
  bool empty = false;
  EXPECT_TRUE(RunSettingsDialog(settings, 0, ini, nullptr, [&](TfmSettings& dialog) {
    empty = Find<QComboBox>(dialog, "cbCompactImageSize")->currentIndex() == -1 &&
            Find<QComboBox>(dialog, "cbFullImageSize")->currentIndex() == -1;
    return QDialog::Accepted;
  }));
  EXPECT_TRUE(empty);
  EXPECT_EQ(settings.CompactImageIndex, -1);
  EXPECT_EQ(settings.FullImageIndex, -1);
  EXPECT_EQ(IniFile(ini.Path()).ReadInteger("Slideshow Settings", "FullImageIndex", 0), -1);
  EXPECT_EQ(GetImageSize(cmCompact, settings.CompactImageIndex).width, 420);
  EXPECT_EQ(GetImageSize(cmFull, settings.FullImageIndex).height, 1024);
}

TEST(SettingsDialogs, ALinkClosesWithItsRequestAndTheChoiceLasts) {
  TfmSlideshowProps props;
  props.Preselect(cmFull);
  props.show();
  auto* compactLink = Find<QToolButton>(props, "lbCustomizeCompactMode");
  EXPECT_EQ(compactLink->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
  QTest::keyClick(compactLink, Qt::Key_Space);
  EXPECT_FALSE(props.isVisible());
  EXPECT_EQ(props.result(), QDialog::Accepted);
  EXPECT_EQ(props.CustomizeRequest(), 1);

  props.Preselect(9);
  props.show();
  EXPECT_EQ(props.CustomizeRequest(), 0);
  EXPECT_EQ(props.SelectedMode(), cmFull);
  QTest::mouseClick(Find<QToolButton>(props, "lbCustomizeFullMode"), Qt::LeftButton);
  EXPECT_EQ(props.CustomizeRequest(), 2);
  props.Preselect(cmCompact);
  EXPECT_EQ(props.SelectedMode(), cmCompact);

  // Enter opens the focused link, and presses a focused Cancel, instead of reaching Ok.
  props.show();
  QTest::keyClick(Find<QToolButton>(props, "lbCustomizeFullMode"), Qt::Key_Return);
  EXPECT_EQ(props.CustomizeRequest(), 2);
  props.show();
  QTest::keyClick(Find<QPushButton>(props, "btCancel"), Qt::Key_Return);
  EXPECT_EQ(props.result(), QDialog::Rejected);
}

// Every captioned control of both dialogs, links and the labels of the lists and bars included,
// has an access key of its own, and the keyboard's place is plain to see.
TEST(SettingsDialogs, EveryControlHasItsOwnAccessKeyAndAClearFocusFrame) {
  TfmSettings settings;
  TfmSlideshowProps props;
  for (QWidget* dialog : {static_cast<QWidget*>(&settings), static_cast<QWidget*>(&props)}) {
    dialog->show();
    QStringList keys;
    auto take = [&](const QWidget* widget, const QString& text) {
      if (!widget->isVisible()) return;
      const QString key = QKeySequence::mnemonic(text).toString();
      EXPECT_FALSE(key.isEmpty()) << text.toStdString();
      EXPECT_FALSE(keys.contains(key)) << text.toStdString();
      keys << key;
    };
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
      take(button, button->text());
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->buddy()) take(label, label->text());
    }
    // The focused button is framed as plainly as on the main window.
    auto* cancel = dialog->findChild<QPushButton*>("btCancel");
    cancel->setFocus();
    QApplication::processEvents();
    const QImage look = cancel->grab().toImage();
    EXPECT_EQ(QColor(look.pixel(1, look.height() / 2)), QColor(0, 70, 160));
  }
}

// Stands in for a language whose texts are much longer than the English ones.
class LongTranslator : public QTranslator {
 public:
  QString translate(const char*, const char* source, const char*, int) const override {
    return QString::fromUtf8(source).repeated(3);
  }
  bool isEmpty() const override { return false; }
};

TEST(SettingsDialogs, ALanguageChangeRetranslatesAndTheDialogGrowsToFit) {
  TfmSettings dialog;
  dialog.SetValues(1, 50, 0, 80);
  dialog.SetRestriction(TfmSettings::CompactOnly);
  const QSize before = dialog.size();
  LongTranslator translator;
  QApplication::installTranslator(&translator);
  QApplication::sendPostedEvents();
  const QString title = dialog.windowTitle();
  const QString item = Find<QComboBox>(dialog, "cbCompactImageSize")->currentText();
  const QSize size = dialog.size();
  const QSize needed = dialog.layout()->minimumSize();
  QApplication::removeTranslator(&translator);
  QApplication::sendPostedEvents();

  EXPECT_EQ(title, "SettingsSettingsSettings");
  EXPECT_EQ(item, "640 x 480640 x 480640 x 480");
  EXPECT_GE(size.width(), needed.width());
  EXPECT_GE(size.height(), needed.height());
  EXPECT_GT(size.width(), 462);
  EXPECT_EQ(dialog.windowTitle(), "Settings");
  EXPECT_EQ(dialog.size(), before);
}

}  // namespace
}  // namespace tovak
