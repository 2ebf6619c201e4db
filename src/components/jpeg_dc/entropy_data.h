#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/jpeg_dc/zeroed_buffer.h"

namespace tovak::jpeg_dc::detail {

// A block is at most 64 codes of 16 bits with 15 extra bits each, 248 bytes, and an MCU at most
// six blocks. The readers check their position once an MCU, so they may run this far past the
// data (over zeros) before noticing.
constexpr size_t kPadding = 2048;

// The decoders unstuff the data in steps of this many bytes as they go.
constexpr size_t kFillStep = 64 * 1024;

struct Restart {
  size_t offset;   // in unstuffed bytes: where the data after the marker starts
  uint8_t number;  // 0..7
};

// The entropy-coded data with its stuffed zero bytes and restart markers taken out, made as the
// decoders need it. The bytes past what is made are zero, and there are always kPadding + 8 of
// them beyond the longest data the input can make.
class EntropyData {
 public:
  // The data of input [data + begin, data + end); restart markers are taken out and noted when
  // restarts is set, and end the data otherwise.
  EntropyData(const uint8_t* data, size_t begin, size_t end, bool restarts);

  bool Valid() const { return bytes_ != nullptr; }
  const uint8_t* Bytes() const { return bytes_.get(); }
  size_t Length() const { return length_; }
  bool Complete() const { return complete_; }
  // The marker that ended the data, or -1 when the input ran out first.
  int EndMarker() const { return endMarker_; }
  size_t InputPosition() const { return in_; }
  const std::vector<Restart>& Restarts() const { return restartList_; }

  // Makes the data up to input position limit, or to the end.
  void Fill(size_t limit);

  // Keeps the data made at least kPadding bytes beyond bit position pos. Once an MCU: the test
  // stays here, the work in Fill.
  void EnsureAhead(uint64_t pos) {
    while (!complete_ && (pos >> 3) + kPadding > length_) {
      size_t limit = in_ + kFillStep;
      if (in_ < mark_ && limit > mark_) limit = mark_;
      Fill(limit);
      if (in_ == mark_ && !complete_) markLength_ = length_;
    }
  }

  // Notes how much data the input up to position mark (a byte that begins fresh data) makes.
  void SetMark(size_t mark) { mark_ = mark; }
  // SIZE_MAX until the data is made that far.
  size_t MarkLength() const { return markLength_; }

 private:
  const uint8_t* data_;
  size_t in_, end_;
  bool restarts_;
  Buffer<uint8_t> bytes_;
  size_t capacity_ = 0;
  size_t length_ = 0;
  bool complete_ = false;
  int endMarker_ = -1;
  std::vector<Restart> restartList_;
  size_t mark_ = SIZE_MAX;
  size_t markLength_ = SIZE_MAX;
};

}  // namespace tovak::jpeg_dc::detail
