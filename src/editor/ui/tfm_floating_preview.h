#pragma once

#include <QWidget>

#include "editor/ui/picture_view.h"

namespace tovak {

// The larger preview beside the editor: a small resizable tool window, always on top, that
// shows the editor's selected picture on black. It never takes the keyboard from the editor,
// and first opens beside its owner's window rather than over it. Escape or the close box closes
// it and says so (Closed), so the editor can untick its check box; hiding it from code says
// nothing.
class TfmFloatingPreview : public QWidget {
  Q_OBJECT

 public:
  // The window's outer size, frame included, when first shown.
  static constexpr int kOuterWidth = 318;
  static constexpr int kOuterHeight = 229;

  explicit TfmFloatingPreview(QWidget* parent = nullptr);

  PictureView* ltPreview() const { return ltPreview_; }
  // What a screen reader says the window shows: the picture's file name, or nothing.
  void SetPictureName(const QString& name);

 signals:
  void Closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Retranslate();
  void PlaceFirstTime();

  PictureView* ltPreview_;
  QString pictureName_;
  bool placed_ = false;
};

}  // namespace tovak
