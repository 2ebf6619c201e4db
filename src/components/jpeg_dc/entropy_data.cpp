#include "components/jpeg_dc/entropy_data.h"

#include <algorithm>
#include <cstring>

namespace tovak::jpeg_dc::detail {

EntropyData::EntropyData(const uint8_t* data, size_t begin, size_t end, bool restarts)
    : data_(data), in_(begin), end_(end), restarts_(restarts) {
  capacity_ = end - begin + kPadding + 8;
  bytes_ = Allocate<uint8_t>(capacity_);
}

void EntropyData::Fill(size_t limit) {
  limit = std::min(limit, end_);
  uint8_t* out = bytes_.get();
  while (!complete_ && in_ < limit) {
    const auto* ff = static_cast<const uint8_t*>(std::memchr(data_ + in_, 0xFF, limit - in_));
    const size_t run = ff ? size_t(ff - (data_ + in_)) : limit - in_;
    std::memcpy(out + length_, data_ + in_, run);
    length_ += run;
    in_ += run;
    if (!ff) break;
    // As libjpeg: any number of 0xFF, then 0 for a data byte or a marker code.
    size_t next = in_ + 1;
    while (next < end_ && data_[next] == 0xFF) ++next;
    if (next >= end_) {
      in_ = end_;
      break;
    }
    const uint8_t code = data_[next];
    if (code == 0) {
      out[length_++] = 0xFF;
    } else if (restarts_ && code >= 0xD0 && code <= 0xD7) {
      restartList_.push_back({length_, uint8_t(code & 7)});
    } else {
      endMarker_ = code;
      complete_ = true;
      break;
    }
    in_ = next + 1;
  }
  if (in_ >= end_) complete_ = true;
}

}  // namespace tovak::jpeg_dc::detail
