#pragma once

#include <QSize>

class QDialog;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace tovak {

// The white band across the top of a dialog: a bold heading over a line or two of explanation.
struct DialogHeader {
  QWidget* panel = nullptr;
  QLabel* heading = nullptr;
  QLabel* text = nullptr;
};
DialogHeader MakeDialogHeader(QWidget* parent);

// The frame both settings dialogs share: the white header panel, a line under it, and the
// body's layout below, which the dialog fills.
QVBoxLayout* MakeDialogFrame(QDialog* dialog, DialogHeader& header);

// A horizontal sunken line between parts of a dialog.
QWidget* MakeDivider(QWidget* parent, const char* name);

// Fixes the dialog at its designed client size, or larger where the layout needs more room (a
// longer translation), so no caption is ever clipped.
void FitFixedSize(QDialog* dialog, QSize designed);

}  // namespace tovak
