// Drawing the show: the picture fitted on black, the message band, the position and volume
// notes, the key list and the end screen, all into one off-screen bitmap.
#include <algorithm>
#include <iterator>

#include "engine-win32/engine_window.h"
#include "engine-win32/wide_text.h"
#include "player/show_keys.h"

namespace tovak {

int EngineWindow::CaptionHeight(HDC dc, const RECT& client) {
  if (message_.Empty()) return 0;
  const int height = client.bottom - client.top;
  const int pixels = std::max(14, height / 26);
  const HGDIOBJ old = SelectObject(dc, Font(pixels));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  const int margin = metrics.tmHeight / 2;
  // The band takes what the text needs, but never more than a third of the screen.
  const int most = height / 3;
  const int needed =
      message_.Height(dc, pixels, int(client.right - client.left) - 4 * margin, most - 2 * margin);
  SelectObject(dc, old);
  return std::min(needed + 2 * margin, most);
}

void EngineWindow::PaintPicture(HDC dc, const RECT& area) {
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  if (!picture_.Valid() || areaWidth <= 0 || areaHeight <= 0) return;
  // Fitted whole, keeping its proportions.
  int width = areaWidth;
  int height = int(int64_t(picture_.Height()) * areaWidth / picture_.Width());
  if (height > areaHeight) {
    height = areaHeight;
    width = int(int64_t(picture_.Width()) * areaHeight / picture_.Height());
  }
  width = std::max(1, width);
  height = std::max(1, height);
  if (!scaled_ || scaledSize_.cx != width || scaledSize_.cy != height) {
    if (scaled_) DeleteObject(scaled_);
    scaled_ = wic_.Scale(picture_, width, height);
    scaledSize_ = {width, height};
  }
  if (!scaled_) return;
  const HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(source, scaled_);
  BitBlt(dc, area.left + (areaWidth - width) / 2, area.top + (areaHeight - height) / 2, width,
         height, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void EngineWindow::PaintBox(HDC dc, const RECT& box, const std::wstring& text) {
  const HBRUSH brush = CreateSolidBrush(RGB(40, 40, 40));
  FillRect(dc, &box, brush);
  DeleteObject(brush);
  RECT inner = box;
  DrawTextW(dc, text.c_str(), int(text.size()), &inner,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void EngineWindow::PaintHelp(HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int height = client.bottom - client.top;
  const int pixels = std::max(14, height / 40);
  const int line = pixels * 3 / 2;
  const int rows = int(std::size(kShowKeys)) + 2;
  int y = std::max(0, (height - rows * line) / 2);
  const int middle = (client.right - client.left) / 2;
  for (const ShowKey& key : kShowKeys) {
    SelectObject(dc, Font(pixels, true));
    RECT left{0, y, middle - pixels, y + line};
    const std::wstring keys = Widen(texts_.Text(kShowKeysContext, key.keys));
    DrawTextW(dc, keys.c_str(), -1, &left, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, Font(pixels));
    RECT right{middle + pixels, y, client.right, y + line};
    const std::wstring action = Widen(texts_.Text(kShowKeysContext, key.action));
    DrawTextW(dc, action.c_str(), -1, &right, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    y += line;
  }
  RECT last{0, y + line, client.right, y + 2 * line};
  const std::wstring closes = Widen(texts_.Text(kKeysClose));
  DrawTextW(dc, closes.c_str(), -1, &last, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void EngineWindow::Paint(HDC target, const RECT& client) {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  // Drawn off screen first, so a change never flickers through black.
  const HDC dc = CreateCompatibleDC(target);
  const HBITMAP buffer = CreateCompatibleBitmap(target, width, height);
  const HGDIOBJ oldBitmap = SelectObject(dc, buffer);
  const HGDIOBJ oldFont = SelectObject(dc, Font(std::max(14, height / 26)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  if (helpShown_) {
    PaintHelp(dc, client);
  } else if (ended_) {
    SelectObject(dc, Font(std::max(20, height / 24)));
    RECT title{0, height / 2 - height / 6, width, height / 2};
    const std::wstring end = Widen(texts_.Text(kEndOfTheShow));
    DrawTextW(dc, end.c_str(), -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    const int band = CaptionHeight(dc, client);
    PaintPicture(dc, RECT{0, 0, width, height - band});
    if (band > 0) {
      RECT area{0, height - band, width, height};
      const HBRUSH brush = CreateSolidBrush(RGB(24, 24, 24));
      FillRect(dc, &area, brush);
      DeleteObject(brush);
      SelectObject(dc, Font(std::max(14, height / 26)));
      TEXTMETRICW metrics;
      GetTextMetricsW(dc, &metrics);
      const int margin = metrics.tmHeight / 2;
      // Centred in the band, as laid out when the band's height was taken.
      const int lines = int(message_.Lines().size()) * metrics.tmHeight;
      const int top = height - band + std::max(margin, (band - lines) / 2);
      message_.Draw(dc, 2 * margin, top, width - 4 * margin);
    }
  }
  if (!helpShown_) {
    SelectObject(dc, Font(std::max(12, height / 40)));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    if (!ended_ && (barShown_ || sequence_.Paused()) && sequence_.Count() > 0) {
      const std::wstring text = std::to_wstring(sequence_.Current() + 1) + L" / " +
                                std::to_wstring(sequence_.Count()) +
                                (sequence_.Paused() ? L"  " + Widen(texts_.Text(kPaused)) : L"");
      SIZE size;
      GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
      const int wide = size.cx + line;
      PaintBox(dc, RECT{width - wide - line / 2, line / 2, width - line / 2, line * 2}, text);
    }
    // The volume keys work on the end screen too, and say so there as well.
    if (noticeShown_) {
      SIZE size;
      GetTextExtentPoint32W(dc, notice_.c_str(), int(notice_.size()), &size);
      const int wide = size.cx + 2 * line;
      PaintBox(dc, RECT{(width - wide) / 2, line / 2, (width + wide) / 2, line * 2}, notice_);
    }
  }
  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(buffer);
  DeleteDC(dc);
}

}  // namespace tovak
