#pragma once

#include <QDialog>
#include <functional>

class QListWidget;

namespace tovak {

class LanguageDictionary;

// The language dialog: the dictionary's languages, each by its own name, the current one
// selected. A plain list, so it can be read out and typed into.
class SelectLanguageDialog : public QDialog {
  Q_OBJECT

 public:
  // An empty caption gives the dialog's own.
  SelectLanguageDialog(QWidget* owner, const LanguageDictionary& dictionary,
                       const QString& caption);
  // The selected language's value; -1 when none is selected.
  int Language() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Retranslate();

  QString caption_;
  QListWidget* list_ = nullptr;
};

// Runs the dialog through exec (QDialog::exec when empty). True when the user confirmed a
// language, which is then in language.
bool SelectLanguage(QWidget* owner, const LanguageDictionary& dictionary, const QString& caption,
                    int& language, const std::function<int(QDialog&)>& exec = {});

}  // namespace tovak
