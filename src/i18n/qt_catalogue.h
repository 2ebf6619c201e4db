#pragma once

#include <QString>
#include <QTranslator>

namespace tovak {

// Loads Qt's own texts (standard buttons, file dialogs, message boxes) for a locale such as
// "de" into translator: from Qt's translations folder, else from beside the program, where an
// installation that brings its own Qt keeps them. False when neither holds the catalogue, and
// for English, which Qt speaks already.
bool LoadQtCatalogue(QTranslator& translator, const QString& locale);

}  // namespace tovak
