#pragma once

#include <QString>
#include <QStringList>

#include "editor/editor_asker.h"

class QWidget;

namespace tovak {

// The editor window's questions, messages and its file-open dialog. The window shows real
// dialogs by default; tests give a scripted one.
class EditorWindowAsker : public EditorAsker {
 public:
  // The pictures the user chose to add; empty when the dialog was cancelled.
  virtual QStringList OpenPictures(QWidget* parent) = 0;
};

// The filters of the file-open dialog, translated, each "Caption (*.A *.B)".
QStringList PictureNameFilters();

// Message boxes and the file dialog, over parent.
class DialogAsker : public EditorWindowAsker {
 public:
  explicit DialogAsker(QWidget* parent) : parent_(parent) {}
  bool AskYesNo(Kind kind, const std::string& text) override;
  bool AskBeforeDeleting(Kind kind, const std::string& text) override;
  void Tell(Kind kind, const std::string& text) override;
  QStringList OpenPictures(QWidget* parent) override;

 private:
  QWidget* parent_;
  QString lastFolder_;
};

}  // namespace tovak
