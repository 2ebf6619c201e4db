#include "i18n/qt_catalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace tovak {

bool LoadQtCatalogue(QTranslator& translator, const QString& locale) {
  if (locale.isEmpty() || locale == "en") return false;
  QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  if (QCoreApplication::instance()) {
    const QString beside = QCoreApplication::applicationDirPath();
    folders << beside << beside + "/translations";
  }
  for (const QString& folder : folders) {
    if (translator.load("qtbase_" + locale, folder)) return true;
  }
  return false;
}

}  // namespace tovak
