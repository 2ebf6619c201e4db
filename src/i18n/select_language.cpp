#include "i18n/select_language.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "i18n/language_dictionary.h"

namespace tovak {

SelectLanguageDialog::SelectLanguageDialog(QWidget* owner, const LanguageDictionary& dictionary,
                                           const QString& caption)
    : QDialog(owner), caption_(caption) {
  setObjectName("SelectLanguage");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  label->setObjectName("lbLanguage");
  list_ = new QListWidget(this);
  list_->setObjectName("lbLanguages");
  label->setBuddy(list_);
  for (const DictionaryLanguage& language : dictionary.Languages()) {
    auto* item = new QListWidgetItem(QString::fromStdString(language.name), list_);
    item->setData(Qt::UserRole, language.value);
    if (language.value == dictionary.Language()) list_->setCurrentItem(item);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  layout->addWidget(label);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  Retranslate();
}

int SelectLanguageDialog::Language() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

void SelectLanguageDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) Retranslate();
}

void SelectLanguageDialog::Retranslate() {
  setWindowTitle(caption_.isEmpty() ? tr("Language Selection") : caption_);
  findChild<QLabel*>("lbLanguage")->setText(tr("&Choose the language of the program:"));
  list_->setAccessibleName(tr("Languages"));
}

bool SelectLanguage(QWidget* owner, const LanguageDictionary& dictionary, const QString& caption,
                    int& language, const std::function<int(QDialog&)>& exec) {
  SelectLanguageDialog dialog(owner, dictionary, caption);
  const int result = exec ? exec(dialog) : dialog.exec();
  if (result != QDialog::Accepted || dialog.Language() == -1) return false;
  language = dialog.Language();
  return true;
}

}  // namespace tovak
