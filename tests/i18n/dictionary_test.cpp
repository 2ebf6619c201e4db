#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "i18n/dictionary.h"
#include "i18n/language_dictionary.h"
#include "i18n/qt_catalogue.h"
#include "i18n/ts_file.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

const std::string kFixtures = TOVAK_I18N_FIXTURES;

TEST(Dictionary, RoundTripKeepsEveryCharacter) {
  Dictionary dictionary;
  dictionary.languages.push_back({1033, "en", "English", {}});
  dictionary.languages.push_back(
      {1031,
       "de",
       "Deutsch",
       {{{"tovak::A", "Line\r\nbreak\tand \\ back"}, "Zeile\r\nUmbruch\tund \\ zurück"},
        {{"", "&Go!"}, "&Los!"}}});
  testing::TempDir dir;
  const std::string file = dir.File("tovak!.mld");
  WriteDictionary(file, dictionary);
  EXPECT_EQ(ReadDictionary(file), dictionary);
}

TEST(Dictionary, DamagedFilesAreRefused) {
  for (const char* text :
       {"", "not a dictionary\n", "tovak-mld 1\ntext c\ts\tt\n",
        "tovak-mld 1\nlanguage x de Deutsch\n", "tovak-mld 1\nlanguage 1031 de\n",
        "tovak-mld 1\nlanguage 1031 de Deutsch\ntext c\ts\tbad \\q escape\n",
        "tovak-mld 1\nlanguage 1031 de Deutsch\ntext c\ts\tt\textra\n", "tovak-mld 1\nfoo\n"}) {
    EXPECT_THROW(ParseDictionary(text), EDictionaryError) << text;
  }
  EXPECT_THROW(ReadDictionary("/nonexistent/tovak!.mld"), EDictionaryError);
}

TEST(TsFile, ReadsTextsAndLeavesOutVanishedOnes) {
  const TsFile file = ReadTsFile(kFixtures + "/fixture_de.ts");
  EXPECT_TRUE(TranslationProblems(file).empty());
  const DictionaryLanguage german = ToDictionaryLanguage(file);
  EXPECT_EQ(german.value, 1031);
  EXPECT_EQ(german.locale, "de");
  EXPECT_EQ(german.name, "Deutsch");
  EXPECT_EQ(german.texts.size(), 7u);
  EXPECT_EQ(german.texts.at({"tovak::TfmPlimoMainScreen", "C&lose"}), "Schl&ießen");
  EXPECT_EQ(
      german.texts.at({"tovak::ResultActions", "File exists (%s) - Do you want to overwrite it?"}),
      "Die Datei (%s) existiert.\rÜberschreiben?");
}

TEST(TsFile, FindsUnfinishedTextsAndLostPlaceholders) {
  const TsFile file = ReadTsFile(kFixtures + "/fixture_faults.ts");
  const std::vector<std::string> problems = TranslationProblems(file);
  ASSERT_EQ(problems.size(), 4u);
  for (const char* source : {"Unfinished", "Empty", "Lost (%s)", "Added"}) {
    EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [&](const std::string& problem) {
      return problem.find(std::string("\"") + source + "\"") != std::string::npos;
    })) << source;
  }
  // Faulty texts stay out of the dictionary, so they show in English.
  EXPECT_EQ(ToDictionaryLanguage(file).texts.size(), 2u);
  EXPECT_THROW(ReadTsFile(kFixtures + "/missing.ts"), EDictionaryError);
}

// The translations the program ships: every text translated, every placeholder kept.
TEST(TsFile, ShippedTranslationsAreComplete) {
  const std::filesystem::path folder = std::string(TOVAK_TRANSLATIONS);
  std::error_code error;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() != ".ts") continue;
    ++files;
    const TsFile file = ReadTsFile(entry.path().string());
    int value;
    std::string name;
    EXPECT_TRUE(KnownLanguage(file.language, value, name)) << file.language;
    for (const std::string& problem : TranslationProblems(file)) ADD_FAILURE() << problem;
  }
  if (files == 0) GTEST_SKIP() << "no translations yet";
}

class Languages : public ::testing::Test {
 protected:
  Languages() {
    Dictionary dictionary;
    dictionary.languages.push_back({1033, "en", "English", {}});
    dictionary.languages.push_back({1031, "de", "Deutsch", {{{"ctx", "Yes"}, "Ja"}}});
    dictionary.languages.push_back({3082, "es", "Español", {{{"ctx", "Yes"}, "Sí"}}});
    WriteDictionary(file, dictionary);
  }
  ~Languages() override { QLocale::setDefault(QLocale::c()); }

  QString Yes() { return QCoreApplication::translate("ctx", "Yes"); }

  testing::TempDir dir;
  std::string file = dir.File("tovak!.mld");
};

TEST_F(Languages, NoChoiceTakesTheSystemsLanguageElseEnglish) {
  QLocale::setDefault(QLocale("es_ES"));
  {
    LanguageDictionary dictionary;
    dictionary.SetFileName(file);
    ASSERT_TRUE(dictionary.IsOpen());
    dictionary.SetLanguage(-1);
    EXPECT_EQ(dictionary.Language(), 3082);
    EXPECT_EQ(dictionary.LanguageIndex(), 3);
    EXPECT_EQ(Yes(), "Sí");
    dictionary.SetLanguage(1031);
    EXPECT_EQ(Yes(), "Ja");
  }
  EXPECT_EQ(Yes(), "Yes");  // gone with the dictionary

  QLocale::setDefault(QLocale("ja_JP"));
  LanguageDictionary dictionary;
  dictionary.SetFileName(file);
  dictionary.SetLanguage(-1);
  EXPECT_EQ(dictionary.Language(), 1033);
  EXPECT_EQ(Yes(), "Yes");
  dictionary.SetLanguage(1049);  // not in the dictionary
  EXPECT_EQ(dictionary.LanguageIndex(), 1);
}

TEST_F(Languages, QtsOwnButtonsFollowTheChosenLanguage) {
  QTranslator probe;
  if (!LoadQtCatalogue(probe, "de")) {
    GTEST_SKIP() << "Qt's German catalogue (qtbase_de.qm) is not installed";
  }
  const auto buttons = [] {
    QMessageBox box(QMessageBox::Question, "", "",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList texts;
    for (const auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
      texts << box.button(which)->text().remove('&');
    }
    return texts;
  };
  LanguageDictionary dictionary;
  dictionary.SetFileName(file);
  dictionary.SetLanguage(1031);
  EXPECT_EQ(buttons(), (QStringList{"Ja", "Nein", "Abbrechen"}));
  dictionary.SetLanguage(3082);
  EXPECT_EQ(buttons(), (QStringList{"Sí", "No", "Cancelar"}));
  dictionary.SetLanguage(1033);
  EXPECT_EQ(buttons(), (QStringList{"Yes", "No", "Cancel"}));
}

TEST_F(Languages, MissingFileLeavesEnglishAndNoLanguage) {
  LanguageDictionary dictionary;
  dictionary.SetFileName(dir.File("other.mld"));
  EXPECT_FALSE(dictionary.IsOpen());
  dictionary.SetLanguage(1031);
  EXPECT_EQ(dictionary.LanguageIndex(), 0);
  EXPECT_EQ(Yes(), "Yes");
}

}  // namespace
}  // namespace tovak
