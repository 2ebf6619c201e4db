#include "app/tfm_plimo_main_screen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/result_actions.h"

// The main window's questions and file dialogs as the user sees them: message boxes and the
// desktop's file dialogs.

namespace tovak {

namespace {

QString Lines(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n").replace('\r', '\n');
}

// A question box of the window's. Without a default, Qt's own choice (Yes) holds.
MainScreenAsker::Answer AskInBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
                                 bool withCancel, QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, QCoreApplication::translate("tovak::TfmPlimoMainScreen", "Quillora Tovak!"),
                  Lines(text),
                  QMessageBox::Yes | QMessageBox::No |
                      (withCancel ? QMessageBox::Cancel : QMessageBox::NoButton),
                  parent);
  if (defaultButton != QMessageBox::NoButton) {
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MainScreenAsker::Answer::Yes;
    case QMessageBox::No:
      return MainScreenAsker::Answer::No;
    default:
      return withCancel ? MainScreenAsker::Answer::Cancel : MainScreenAsker::Answer::No;
  }
}

QMessageBox::Icon IconOf(MainScreenAsker::Kind kind) {
  return kind == MainScreenAsker::Kind::Confirmation ? QMessageBox::Question
                                                     : QMessageBox::Information;
}

}  // namespace

MainScreenAsker::Answer MainScreenDialogAsker::Ask(Kind kind, const std::string& text,
                                                   bool withCancel) {
  return AskInBox(parent_, IconOf(kind), text, withCancel, QMessageBox::NoButton);
}

bool MainScreenDialogAsker::AskBeforeDeleting(Kind kind, const std::string& text) {
  return AskInBox(parent_, IconOf(kind), text, false, QMessageBox::No) == Answer::Yes;
}

MainScreenAsker::Answer MainScreenDialogAsker::AskKeepingByDefault(const std::string& text) {
  return AskInBox(parent_, QMessageBox::Question, text, true, QMessageBox::No);
}

void MainScreenDialogAsker::Tell(Kind kind, const std::string& text) {
  QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  QCoreApplication::translate("tovak::TfmPlimoMainScreen", "Quillora Tovak!"),
                  Lines(text), QMessageBox::Ok, parent_);
  box.exec();
}

void MainScreenDialogAsker::TellTitled(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Information, QString::fromStdString(title), Lines(text),
                  QMessageBox::Ok, parent_);
  // The folders are worth copying into a mail or a file manager.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.exec();
}

int MainScreenDialogAsker::Exec(QDialog& dialog) {
  return dialog.exec();
}

bool MainScreenDialogAsker::AskSaveName(std::string& name, int& filterIndex) {
  auto tr = [](const char* text) {
    return QCoreApplication::translate("tovak::ResultActions", text);
  };
  QFileDialog dialog(parent_, tr(SaveDialogData::kTitle));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The actions ask about the file they really write: the filter may still change its name.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setDefaultSuffix(SaveDialogData::kDefaultSuffix);
  QStringList filters;
  for (const std::string& filter : SaveDialogData::Filters()) filters << tr(filter.c_str());
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(SaveDialogData::kExeFilter));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    dialog.setDefaultSuffix(SaveDialogData::SuffixOf(static_cast<int>(filters.indexOf(filter))));
  });
  // Where people keep their files, rather than wherever the program was started from; a
  // slideshow that was opened offers its own name and place.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QFileInfo offered(QString::fromStdString(name));
  if (!name.empty() && offered.dir().exists()) {
    dialog.setDirectory(offered.dir());
    dialog.selectFile(offered.fileName());
  } else {
    dialog.setDirectory(QFileInfo(documents).isDir() ? documents : QDir::homePath());
    dialog.selectFile(tr(SaveDialogData::kDefaultName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  name = dialog.selectedFiles().front().toStdString();
  filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  return true;
}

std::string MainScreenDialogAsker::AskSlideshowToOpen() {
  // The texts are listed for the translators beside the save dialog's.
  auto text = [](const char* english) {
    return QCoreApplication::translate("tovak::TfmPlimoMainScreen", english);
  };
  QFileDialog dialog(parent_, text("Open Slideshow"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({text("Talking Slideshows (*.exe)"), text("All Files (*)")});
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  dialog.setDirectory(QFileInfo(documents).isDir() ? documents : QDir::homePath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace tovak
