#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/jpeg_dc/entropy_data.h"
#include "components/jpeg_dc/layout.h"
#include "components/jpeg_dc/zeroed_buffer.h"

// The second thread, which decodes the entropy-coded data from somewhere in the middle, and
// what it hands over to the calling thread and back.
namespace tovak::jpeg_dc::detail {

// How many blocks of the second thread's output the first compares its own position with
// before it gives up on meeting it. Huffman codes fall back in step within a few symbols, and
// blocks and components soon after, so this is ample.
constexpr size_t kSyncWindow = 1 << 14;

// How often the second thread may start again a bit further on after reading something no
// encoder writes, before it gives up.
constexpr size_t kMaxBreaks = 64;

// Between the calling thread and the second one.
struct Side {
  // Its findings: for each block it decoded, the DC coefficient as it reckons it (its
  // predictors started at zero), and for the first kSyncWindow blocks where each began. Its
  // n-th block is the (n % blocksPerMcu)-th of an MCU, as far as it knows.
  Buffer<uint16_t> values;
  Buffer<int32_t> detail;   // for 4:2:0, 8 an MCU (its MCUs, as it counts them)
  Buffer<uint64_t> starts;  // bit positions, from the start of its data
  size_t capacity = 0;
  std::atomic<size_t> published{0};  // starts[0 .. published) may be read
  std::atomic<bool> stop{false};     // the calling thread no longer needs it
  size_t valid = 0;                  // blocks decoded entirely within the data
  std::vector<size_t> breaks;        // where it gave up on a start and tried the next bit
  size_t firstRestart = SIZE_MAX;    // its first block after a restart marker
  std::vector<Restart> restarts;
  int endMarker = -1;
  std::atomic<bool> decoded{false};

  // The verdict, once it has decoded: 1 when the calling thread met it, 2 when not.
  std::atomic<int> verdict{0};
  size_t metAt = 0;         // its block where the calling thread met it,
  size_t block = 0;         // which is this block of the picture,
  uint16_t offset[3] = {};  // and what its coefficients lack until its first restart
  uint16_t* valuesOut = nullptr;
  int32_t* detailOut = nullptr;
  uint8_t* bits = nullptr;
  size_t stride = 0;
  bool inRange = true;  // what converting them found; read once the thread has ended

  void Decide(int v) {
    verdict.store(v, std::memory_order_release);
    verdict.notify_one();
  }
};

// The second thread: decodes from input position begin (just after a restart marker when the
// stream has restart intervals, the next one then numbered nextRestart), blocks as if the first
// were the first of an MCU, until the data ends or something does not decode. Then, when the
// calling thread met it, puts right and converts the blocks from that point on.
void RunSide(const uint8_t* data, size_t begin, size_t end, const Layout& layout, int nextRestart,
             Side& side);

// Where the second thread starts: at or after target, on a byte that begins fresh data (not
// the zero after a 0xFF), or, with restart intervals, on a restart marker. 0 when there is none.
size_t FindSplit(const uint8_t* data, size_t begin, size_t end, size_t target, bool restarts,
                 size_t& sideBegin, int& nextRestart);

}  // namespace tovak::jpeg_dc::detail
