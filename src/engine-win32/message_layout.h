#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace tovak {

// The message under the picture, laid out once for each font and band size and never in a
// paint: however long the message, only what the band could ever hold is measured, and what
// does not fit ends in an ellipsis, as in the Linux player.
class MessageLayout {
 public:
  void SetText(std::wstring text);
  // Also for a message of blank lines only.
  bool Empty() const { return blank_; }
  size_t Length() const { return text_.size(); }
  // Lays the text out, with the font of fontPixels selected into dc, in lines width wide and at
  // most maxHeight high (one line at least); returns the height the lines take.
  int Height(HDC dc, int fontPixels, int width, int maxHeight);
  // Draws the lines of the last layout, each centred, from top down.
  void Draw(HDC dc, int left, int top, int width) const;
  // What the band shows, line by line, and how often it was laid out.
  const std::vector<std::wstring>& Lines() const { return lines_; }
  int Layouts() const { return layouts_; }

 private:
  void Layout(HDC dc);

  std::wstring text_;
  bool blank_ = true;
  bool rightToLeft_ = false;
  int fontPixels_ = -1;
  int width_ = -1;
  int maxHeight_ = -1;
  std::vector<std::wstring> lines_;
  std::vector<int> widths_;
  int lineHeight_ = 0;
  int layouts_ = 0;
};

}  // namespace tovak
