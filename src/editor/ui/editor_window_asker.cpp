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

// Each name is translated on its own, so that no translation can change the patterns.
struct PictureFilter {
  const char* name;
  const char* patterns;
};
constexpr PictureFilter kFilters[] = {
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "All Supported Media Formats"),
     "*.BMP;*.CMS;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;*.EMF;*.WMF;*.TGA;*.ICO;*.GIF;*.PCT;*.HEIC;"
     "*.HEIF;*.WEBP;*.AVIF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Windows Bitmap (BMP)"), "*.BMP"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Credit Message (CMS)"), "*.CMS"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "JPEG (JPG)"), "*.JPG"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "PC Paintbrush (PCX)"), "*.PCX"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Portable Graphics (PNG)"), "*.PNG"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Tagged Image (TIF)"), "*.TIF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Kodak Photo CD (PCD)"), "*.PCD"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Windows Metafile (WMF)"), "*.WMF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "Enhanced Metafile (EMF)"), "*.EMF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "CompuServe GIF (GIF)"), "*.GIF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "PCT File"), "*.PCT"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "HEIF Photo (HEIC)"), "*.HEIC;*.HEIF"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "WebP Picture (WEBP)"), "*.WEBP"},
    {QT_TRANSLATE_NOOP("tovak::TfmManual", "AVIF Picture (AVIF)"), "*.AVIF"},
};

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
  QStringList filters;
  for (const PictureFilter& filter : kFilters) {
    QStringList patterns = QString(filter.patterns).split(';', Qt::SkipEmptyParts);
    if (&filter == kFilters) {
      // Every picture the import takes is offered, not only the old list's (.jpeg, .psd...).
      for (const QString& accepted : QString(ImportPatterns).split(';', Qt::SkipEmptyParts)) {
        if (!patterns.contains(accepted, Qt::CaseInsensitive)) patterns << accepted;
      }
    }
    filters << QStringLiteral("%1 (%2)").arg(
        QCoreApplication::translate("tovak::TfmManual", filter.name), patterns.join(' '));
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
