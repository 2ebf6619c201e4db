#include "editor/ui/tfm_floating_preview.h"

#include <QVBoxLayout>

namespace tovak {

TfmFloatingPreview::TfmFloatingPreview(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ltPreview_(new PictureView(this)) {
  setObjectName("TfmFloatingPreview");
  ltPreview_->setObjectName("ltPreview");
  ltPreview_->SetBackground(Qt::black);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ltPreview_);
  resize(318, 229);
}

}  // namespace tovak
