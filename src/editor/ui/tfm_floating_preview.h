#pragma once

#include <QWidget>

#include "editor/ui/picture_view.h"

namespace tovak {

// The larger preview beside the editor: a small tool window, always on top, that shows the
// editor's selected picture on black. Escape or the close box closes it and says so (Closed),
// so the editor can untick its check box.
class TfmFloatingPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TfmFloatingPreview(QWidget* parent = nullptr);

  PictureView* ltPreview() const { return ltPreview_; }

 signals:
  void Closed();

 private:
  PictureView* ltPreview_;
};

}  // namespace tovak
