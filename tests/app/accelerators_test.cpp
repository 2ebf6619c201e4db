#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <map>

#include "app/tfm_plimo_main_screen.h"
#include "app/tfm_settings.h"
#include "editor/ui/tfm_manual.h"
#include "i18n/dictionary.h"
#include "i18n/language_dictionary.h"
#include "i18n/language_id_setting.h"
#include "i18n/ts_file.h"
#include "support/main_window_fixture.h"

namespace tovak {
namespace {

class QuietAsker : public MainScreenWindowAsker {
 public:
  Answer Ask(Kind, const std::string&, bool) override { return Answer::No; }
  void Tell(Kind, const std::string&) override {}
  int Exec(QDialog&) override { return QDialog::Rejected; }
  bool AskSaveName(std::string&, int&) override { return false; }
};

// Alt and a letter must reach one control: a repeat only moves the focus between them.
class Accelerators : public testing::MainWindowFixture<QuietAsker> {
 protected:
  // Each scope's captions by their Alt letter; a letter with two captions is a clash.
  using Scope = std::map<QString, QStringList>;

  static void Note(Scope& scope, const QString& caption) {
    const QKeySequence key = QKeySequence::mnemonic(caption);
    if (!key.isEmpty()) scope[key.toString()] << caption;
  }

  // The window's own controls (not those of the windows it owns), its menu bar titles, and
  // every menu's visible entries on their own.
  static std::vector<Scope> ScopesOf(QWidget* top) {
    std::vector<Scope> scopes(1);
    for (QWidget* w : top->findChildren<QWidget*>()) {
      if (w->window() != top) continue;
      if (auto* b = qobject_cast<QAbstractButton*>(w)) Note(scopes[0], b->text());
      if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) Note(scopes[0], l->text());
      if (auto* g = qobject_cast<QGroupBox*>(w)) Note(scopes[0], g->title());
      if (auto* t = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < t->count(); ++i) Note(scopes[0], t->tabText(i));
      }
    }
    for (QMenu* menu : top->findChildren<QMenu*>()) {
      if (menu->parentWidget() && menu->parentWidget()->window() != top) continue;
      if (!menu->menuAction()->isVisible()) continue;
      if (qobject_cast<QMenuBar*>(menu->parentWidget())) Note(scopes[0], menu->title());
      Scope& entries = scopes.emplace_back();
      for (QAction* entry : menu->actions()) {
        if (entry->isVisible()) Note(entries, entry->text());
      }
    }
    return scopes;
  }

  // English and the three translations, beside the program as its dictionary.
  Dictionary WriteEveryLanguage() {
    Dictionary dictionary;
    dictionary.languages.push_back({kEnglish, "en", "English", {}});
    for (const char* code : {"de", "fr", "es"}) {
      dictionary.languages.push_back(ToDictionaryLanguage(
          ReadTsFile(std::string(TOVAK_TRANSLATIONS) + "/tovak_" + code + ".ts")));
    }
    WriteDictionary(paths.ProgramFolder() + kDictionaryFileName, dictionary);
    return dictionary;
  }

  static void ExpectDistinct(QWidget* top, const std::string& language) {
    for (const Scope& scope : ScopesOf(top)) {
      for (const auto& [key, captions] : scope) {
        EXPECT_EQ(captions.size(), 1)
            << language << " " << top->objectName().toStdString() << " " << key.toStdString()
            << ": " << captions.join(" | ").toStdString();
      }
    }
  }
};

// Run also with large fonts (QT_FONT_DPI=144): no caption is cut and the welcome text ends
// above the counter, in every language.
using MainWindowText = Accelerators;
TEST_F(MainWindowText, FitsInEveryLanguage) {
  const Dictionary dictionary = WriteEveryLanguage();
  for (const DictionaryLanguage& language : dictionary.languages) {
    LanguageIdSetting(paths.ProgramFolder(), language.value);
    Open();
    QCoreApplication::processEvents();
    auto* go = window->findChild<QPushButton*>("btGo");
    const QString editCaption = QCoreApplication::translate("tovak::TfmPlimoMainScreen", "&Edit!");
    QPushButton edit(editCaption);
    edit.setFont(go->font());
    EXPECT_GE(go->width(), edit.sizeHint().width()) << language.name;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (button->window() != window.get()) continue;
      EXPECT_GE(button->width(), button->sizeHint().width())
          << language.name << " " << button->text().toStdString();
      EXPECT_TRUE(window->centralWidget()->rect().contains(
          button->mapTo(window->centralWidget(), button->rect().bottomRight())))
          << language.name << " " << button->text().toStdString();
    }
    const QRect panel = window->findChild<QWidget*>("gbPanel")->geometry();
    for (const char* name : {"lbWelcome", "lbPictureCount", "lbPictureCountText"}) {
      EXPECT_FALSE(window->findChild<QLabel*>(name)->geometry().intersects(panel))
          << language.name << " " << name;
    }
    auto* welcome = window->findChild<QLabel*>("lbWelcome");
    EXPECT_LE(welcome->y() + welcome->heightForWidth(welcome->width()),
              window->findChild<QLabel*>("lbPictureCount")->y())
        << language.name;
  }
}

TEST_F(Accelerators, EveryWindowHasDistinctLettersInEveryLanguage) {
  const Dictionary dictionary = WriteEveryLanguage();
  for (const DictionaryLanguage& language : dictionary.languages) {
    LanguageIdSetting(paths.ProgramFolder(), language.value);
    Open();
    QCoreApplication::processEvents();
    ASSERT_EQ(window->Dictionary().Language(), language.value);
    TfmSettings settings(window.get());
    for (QWidget* top :
         {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&window->Editor()),
          static_cast<QWidget*>(&window->SlideshowProps()), static_cast<QWidget*>(&settings)}) {
      ExpectDistinct(top, language.name);
    }
  }
}

}  // namespace
}  // namespace tovak
