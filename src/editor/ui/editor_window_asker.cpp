#include "editor/ui/editor_window_asker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "editor/slideshow_project.h"

namespace tovak {

namespace {

// Caption and patterns in pairs, as the dialog has always offered them.
const char* const kFilter =
    QT_TRANSLATE_NOOP("tovak::TfmManual",
                      "All Supported Media Formats|*.BMP;*.CMS;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;"
                      "*.EMF;*.WMF;*.TGA;*.ICO;*.GIF;*.PCT;*.HEIC;*.HEIF;*.WEBP;*.AVIF|Windows "
                      "Bitmap    (BMP) |*.BMP|Credit "
                      "Message    (CMS) |*.CMS|Jpeg    (JPG) |*.JPG|PaintShop Pro    (PCX) "
                      "|*.PCX|Portable Graphics    (PNG) |*.PNG|Tagged Image    (TIF) |*.TIF|Kodak "
                      "Photo CD    (PCD) |*.PCD|Windows Metafile    (WMF) |*.WMF|Enhanced "
                      "Metafile    (EMF) |*.EMF|CompuServe GIF (GIF)|*.GIF|PCT File|*.PCT|HEIF "
                      "Photo    (HEIC) |*.HEIC;*.HEIF|WebP Picture    (WEBP) |*.WEBP|AVIF "
                      "Picture    (AVIF) |*.AVIF");

QString Title() {
  return QCoreApplication::translate("tovak::TfmManual", "Quillora Tovak!");
}

QMessageBox::Icon IconOf(EditorAsker::Kind kind) {
  switch (kind) {
    case EditorAsker::Kind::Warning:
      return QMessageBox::Warning;
    case EditorAsker::Kind::Error:
      return QMessageBox::Critical;
    case EditorAsker::Kind::Information:
      break;
  }
  return QMessageBox::Information;
}

// The model's texts end lines with "\r" where the message boxes of old did.
QString Lines(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n").replace('\r', '\n');
}

}  // namespace

QStringList PictureNameFilters() {
  const QStringList parts = QCoreApplication::translate("tovak::TfmManual", kFilter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    if (i == 0) {
      // Every picture the import takes is offered, not only the old list's (.jpeg, .psd...).
      for (const QString& accepted : QString(ImportPatterns).split(';', Qt::SkipEmptyParts)) {
        if (!patterns.contains(accepted, Qt::CaseInsensitive)) patterns << accepted;
      }
    }
    filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(' '));
  }
  filters << QCoreApplication::translate("tovak::TfmManual", "All files") + " (*)";
  return filters;
}

bool DialogAsker::AskYesNo(Kind kind, const std::string& text) {
  QMessageBox box(IconOf(kind), Title(), Lines(text), QMessageBox::Yes | QMessageBox::No, parent_);
  return box.exec() == QMessageBox::Yes;
}

bool DialogAsker::AskBeforeDeleting(Kind kind, const std::string& text) {
  QMessageBox box(IconOf(kind), Title(), Lines(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void DialogAsker::Tell(Kind kind, const std::string& text) {
  QMessageBox box(IconOf(kind), Title(), Lines(text), QMessageBox::Ok, parent_);
  box.exec();
}

QStringList DialogAsker::OpenPictures(QWidget* parent) {
  QFileDialog dialog(parent ? parent : parent_, Title());
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(PictureNameFilters());
  dialog.setDefaultSuffix("JPG");
  // Where people keep their pictures, or where they last took some from; never the program's
  // own folder with its working files.
  if (lastFolder_.isEmpty() || !QFileInfo(lastFolder_).isDir()) {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    lastFolder_ = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
  }
  dialog.setDirectory(lastFolder_);
  if (dialog.exec() != QDialog::Accepted) return {};
  lastFolder_ = dialog.directory().absolutePath();
  return dialog.selectedFiles();
}

}  // namespace tovak
