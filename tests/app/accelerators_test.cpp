#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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

TEST_F(Accelerators, EveryWindowHasDistinctLettersInEveryLanguage) {
  Dictionary dictionary;
  dictionary.languages.push_back({kEnglish, "en", "English", {}});
  for (const char* code : {"de", "fr", "es"}) {
    dictionary.languages.push_back(ToDictionaryLanguage(
        ReadTsFile(std::string(TOVAK_TRANSLATIONS) + "/tovak_" + code + ".ts")));
  }
  WriteDictionary(paths.ProgramFolder() + kDictionaryFileName, dictionary);
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
