#include "app/dialog_frame.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/ui/focus_frame.h"

namespace tovak {

DialogHeader MakeDialogHeader(QWidget* parent) {
  DialogHeader header;
  auto* panel = new QFrame(parent);
  panel->setObjectName("pnTop");
  panel->setAutoFillBackground(true);
  // White whatever the desktop theme, so the text colour is fixed with it.
  QPalette colours = panel->palette();
  colours.setColor(QPalette::Window, Qt::white);
  colours.setColor(QPalette::WindowText, Qt::black);
  colours.setColor(QPalette::Text, Qt::black);
  panel->setPalette(colours);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(4);
  header.heading = new QLabel(panel);
  header.heading->setObjectName("lbHeading");
  QFont bold = header.heading->font();
  bold.setBold(true);
  header.heading->setFont(bold);
  header.text = new QLabel(panel);
  header.text->setObjectName("lbHeadingText");
  header.text->setWordWrap(true);
  header.text->setIndent(12);
  layout->addWidget(header.heading);
  layout->addWidget(header.text);
  header.panel = panel;
  return header;
}

QWidget* MakeDivider(QWidget* parent, const char* name) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

void FitFixedSize(QDialog* dialog, QSize designed) {
  QLayout* layout = dialog->layout();
  if (!layout) {
    dialog->setFixedSize(designed);
    return;
  }
  layout->activate();
  const int width = std::max(designed.width(), layout->minimumSize().width());
  const int needed =
      layout->hasHeightForWidth() ? layout->heightForWidth(width) : layout->minimumSize().height();
  dialog->setFixedSize(width, std::max(designed.height(), needed));
}

QVBoxLayout* MakeDialogFrame(QDialog* dialog, DialogHeader& header) {
  dialog->setSizeGripEnabled(false);
  UseClearFocusFrame(dialog);
  auto* outer = new QVBoxLayout(dialog);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  header = MakeDialogHeader(dialog);
  outer->addWidget(header.panel);
  outer->addWidget(MakeDivider(dialog, "bvTop"));
  auto* body = new QVBoxLayout;
  body->setContentsMargins(9, 6, 9, 9);
  body->setSpacing(6);
  outer->addLayout(body, 1);
  return body;
}

}  // namespace tovak
