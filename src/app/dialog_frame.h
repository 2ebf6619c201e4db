#pragma once

#include <QSize>

class QDialog;
class QLabel;
class QWidget;

namespace tovak {

// The white band across the top of a dialog: a bold heading over a line or two of explanation.
struct DialogHeader {
  QWidget* panel = nullptr;
  QLabel* heading = nullptr;
  QLabel* text = nullptr;
};
DialogHeader MakeDialogHeader(QWidget* parent);

// A horizontal sunken line between parts of a dialog.
QWidget* MakeDivider(QWidget* parent, const char* name);

// Fixes the dialog at its designed client size, or larger where the layout needs more room (a
// longer translation), so no caption is ever clipped.
void FitFixedSize(QDialog* dialog, QSize designed);

}  // namespace tovak
