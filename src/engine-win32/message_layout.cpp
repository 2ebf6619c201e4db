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

}  // namespace

void MessageLayout::SetText(std::wstring text) {
  text_ = std::move(text);
  lines_.clear();
  widths_.clear();
  fontPixels_ = width_ = maxHeight_ = -1;
}

int MessageLayout::Height(HDC dc, int fontPixels, int width, int maxHeight) {
  if (text_.empty()) return 0;
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
    // The last line that fits takes what follows it, cut with an ellipsis at the band's edge.
    std::wstring rest = text_.substr(starts.back(), 4 * size_t(width_) + 4);
    std::replace(rest.begin(), rest.end(), L'\n', L' ');
    const int room = width_ - Width(dc, std::wstring(1, kEllipsis));
    lines_.back() = rest.substr(0, Fitting(dc, rest.data(), rest.size(), room)) + kEllipsis;
  }
  for (const std::wstring& line : lines_) widths_.push_back(Width(dc, line));
}

void MessageLayout::Draw(HDC dc, int left, int top, int width) const {
  for (size_t k = 0; k < lines_.size(); ++k) {
    TextOutW(dc, left + (width - widths_[k]) / 2, top + int(k) * lineHeight_, lines_[k].c_str(),
             int(lines_[k].size()));
  }
}

}  // namespace tovak
