#include "engine-win32/message_layout.h"

#include <algorithm>

namespace tovak {

namespace {

constexpr wchar_t kEllipsis = 0x2026;

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c < 0xDC00;
}

// How many characters of text, from its start, fit in width pixels; never half a pair.
size_t Fitting(HDC dc, const wchar_t* text, size_t count, int width) {
  // Every character takes a pixel at least, so no more than that many are measured.
  const int n = int(std::min(count, size_t(std::max(0, width)) + 1));
  int fit = 0;
  SIZE size{};
  if (n == 0 || !GetTextExtentExPointW(dc, text, n, std::max(0, width), &fit, nullptr, &size)) {
    return 0;
  }
  size_t taken = size_t(std::clamp(fit, 0, n));
  if (taken > 0 && taken < count && IsHighSurrogate(text[taken - 1])) --taken;
  return taken;
}

int Width(HDC dc, const std::wstring& line) {
  SIZE size{};
  GetTextExtentPoint32W(dc, line.c_str(), int(line.size()), &size);
  return size.cx;
}

// Whether the message reads from the right: its first character of a strong direction is
// Hebrew, Arabic or of another right-to-left script, as Qt decides it for the Linux player.
bool StartsRightToLeft(const std::wstring& text) {
  constexpr size_t kPiece = 256;
  for (size_t at = 0; at < text.size(); at += kPiece) {
    const int count = int(std::min(kPiece, text.size() - at));
    WORD types[kPiece];
    if (!GetStringTypeW(CT_CTYPE2, text.data() + at, count, types)) return false;
    for (int k = 0; k < count; ++k) {
      if (types[k] == C2_LEFTTORIGHT) return false;
      if (types[k] == C2_RIGHTTOLEFT) return true;
    }
  }
  return false;
}

}  // namespace

void MessageLayout::SetText(std::wstring text) {
  // A message of blank lines has nothing to read, and gets no band.
  blank_ = text.find_first_not_of(L" \t\r\n") == std::wstring::npos;
  rightToLeft_ = StartsRightToLeft(text);
  text_ = std::move(text);
  lines_.clear();
  widths_.clear();
  fontPixels_ = width_ = maxHeight_ = -1;
}

int MessageLayout::Height(HDC dc, int fontPixels, int width, int maxHeight) {
  if (Empty()) return 0;
  width = std::max(1, width);
  if (fontPixels != fontPixels_ || width != width_ || maxHeight != maxHeight_) {
    fontPixels_ = fontPixels;
    width_ = width;
    maxHeight_ = maxHeight;
    Layout(dc);
  }
  return int(lines_.size()) * lineHeight_;
}

void MessageLayout::Layout(HDC dc) {
  ++layouts_;
  lines_.clear();
  widths_.clear();
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  lineHeight_ = std::max<int>(1, metrics.tmHeight);
  const size_t most = size_t(std::max(1, maxHeight_ / lineHeight_));
  // No more of the message is looked at than the band could ever hold.
  size_t end = std::min(text_.size(), (most + 1) * (size_t(width_) + 1));
  if (end < text_.size() && end > 0 && IsHighSurrogate(text_[end - 1])) --end;
  bool overflow = end < text_.size();

  std::vector<size_t> starts;
  size_t at = 0;
  while (at < end || (at == end && starts.empty())) {
    if (starts.size() == most) {
      overflow = true;
      break;
    }
    const size_t stop = std::min(text_.find(L'\n', at), end);
    const size_t fit = Fitting(dc, text_.data() + at, stop - at, width_);
    size_t take = fit;
    size_t next = at + fit;
    if (fit >= stop - at) {
      take = stop - at;
      next = stop + 1;  // past the line's end
    } else {
      // Broken after the last space that fits; a word longer than the band is broken anywhere.
      const size_t space = text_.rfind(L' ', at + fit);
      if (space != std::wstring::npos && space > at) {
        take = space - at;
        next = space + 1;
      } else if (take == 0) {
        take = IsHighSurrogate(text_[at]) && at + 1 < stop ? 2 : 1;
        next = at + take;
      }
    }
    starts.push_back(at);
    lines_.push_back(text_.substr(at, take));
    at = next;
  }
  if (overflow) {
    // The last line keeps only its own words: run on into the next line it would read as one
    // ("six Lin…"). The ellipsis follows it, or the last whole word that leaves room for it.
    std::wstring& last = lines_.back();
    const std::wstring ellipsis(1, kEllipsis);
    if (Width(dc, last + ellipsis) > width_) {
      const size_t fit = Fitting(dc, last.data(), last.size(), width_ - Width(dc, ellipsis));
      const size_t space = last.rfind(L' ', fit);
      last.resize(space != std::wstring::npos && space > 0 ? space : fit);
    }
    while (!last.empty() && last.back() == L' ') last.pop_back();
    last += ellipsis;
  }
  for (const std::wstring& line : lines_) widths_.push_back(Width(dc, line));
}

void MessageLayout::Draw(HDC dc, int left, int top, int width) const {
  if (Empty()) return;
  // Right to left, the full stop and the ellipsis close the line on its left.
  const UINT align = SetTextAlign(dc, rightToLeft_ ? TA_RTLREADING : 0);
  for (size_t k = 0; k < lines_.size(); ++k) {
    TextOutW(dc, left + (width - widths_[k]) / 2, top + int(k) * lineHeight_, lines_[k].c_str(),
             int(lines_[k].size()));
  }
  SetTextAlign(dc, align);
}

}  // namespace tovak
