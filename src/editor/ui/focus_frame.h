#pragma once

class QWidget;

namespace tovak {

// The style's focus mark on a button is a faint shade, hard to tell from the default button's:
// the window's focused button, check box and radio button get a plain dark frame instead.
void UseClearFocusFrame(QWidget* window);

}  // namespace tovak
