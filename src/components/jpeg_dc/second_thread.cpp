#include "components/jpeg_dc/second_thread.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "components/jpeg_dc/bit_reader.h"
#include "components/jpeg_dc/block_decoding.h"
#include "components/jpeg_dc/pixels.h"

namespace tovak::jpeg_dc::detail {

namespace {

void DecodeSide(const uint8_t* data, size_t begin, size_t end, const Layout& layout,
                int nextRestart, Side& side) {
  EntropyData entropy(data, begin, end, layout.restartInterval > 0);
  if (!entropy.Valid()) return;
  BitReader r(entropy.Bytes());
  const int bpm = layout.blocksPerMcu;
  uint16_t pred[3] = {};
  size_t n = 0, recorded = 0, restartIndex = 0;
  int mcusToRestart = layout.restartInterval;
  while (!side.stop.load(std::memory_order_relaxed) && n + bpm <= side.capacity) {
    entropy.EnsureAhead(r.Position());
    if (entropy.Complete() && r.Position() > entropy.Length() * 8) break;
    if (layout.restartInterval > 0 && mcusToRestart == 0) {
      const auto& list = entropy.Restarts();
      if (restartIndex >= list.size()) break;
      const Restart& rst = list[restartIndex];
      if (rst.number != ((nextRestart + restartIndex) & 7) ||
          (r.Position() + 7) / 8 != rst.offset) {
        break;
      }
      r.SeekToByte(rst.offset);
      if (restartIndex == 0) side.firstRestart = n;
      ++restartIndex;
      mcusToRestart = layout.restartInterval;
      pred[0] = pred[1] = pred[2] = 0;
    }
    const bool record = n + bpm <= kSyncWindow;
    int32_t* detail = side.detail ? &side.detail[n / bpm * 8] : nullptr;
    const uint64_t start = r.Position();
    const uint16_t before[3] = {pred[0], pred[1], pred[2]};
    const int result =
        record ? DecodeMcu<true>(r, layout, pred, &side.values[n], &side.starts[n], detail)
               : DecodeMcu<false>(r, layout, pred, &side.values[n], nullptr, detail);
    if (result != kDecoded && record && layout.restartInterval == 0 &&
        side.breaks.size() < kMaxBreaks) {
      // Not in step yet: start again one bit on.
      side.breaks.push_back(n);
      std::copy(before, before + 3, pred);
      r.SeekToBit(start + 1);
      continue;
    }
    if (result == kInvalid || (entropy.Complete() && r.Position() > entropy.Length() * 8)) break;
    n += bpm;
    side.valid = n;
    if (record) {
      recorded = n;
      side.published.store(recorded, std::memory_order_release);
    }
    --mcusToRestart;
  }
  if (side.stop.load(std::memory_order_relaxed)) return;  // nobody will look
  entropy.Fill(end);
  side.restarts = entropy.Restarts();
  side.endMarker = entropy.EndMarker();
}

}  // namespace

void RunSide(const uint8_t* data, size_t begin, size_t end, const Layout& layout, int nextRestart,
             Side& side) {
  try {
    DecodeSide(data, begin, end, layout, nextRestart, side);
  } catch (const std::bad_alloc&) {
    side.valid = 0;
  }
  side.decoded.store(true, std::memory_order_release);
  side.decoded.notify_one();
  side.verdict.wait(0, std::memory_order_acquire);
  if (side.verdict.load(std::memory_order_acquire) != 1) return;
  // Its coefficients, put right, after this thread's; from its first restart on they need
  // nothing.
  const int bpm = layout.blocksPerMcu;
  size_t i = side.block, n = side.metAt;
  int b = int(i % bpm);
  size_t count = layout.blocks - i;
  if (side.firstRestart != SIZE_MAX) {
    count = std::min(count, side.firstRestart - std::min(side.firstRestart, n));
  }
  for (const size_t fixedEnd = i + count; i < fixedEnd; ++i, ++n) {
    side.valuesOut[i] = uint16_t(side.values[n] + side.offset[layout.component[b]]);
    if (++b == bpm) b = 0;
  }
  std::memcpy(side.valuesOut + i, side.values.get() + n, (layout.blocks - i) * sizeof(uint16_t));
  if (layout.chromaDetail) {
    // Both counts are at the same block of an MCU: the rest of that MCU block by block, then
    // whole MCUs.
    size_t to = side.block / bpm, from = side.metAt / bpm;
    for (b = int(side.block % bpm); b > 0 && b < bpm; ++b) {
      if (b >= layout.lumaBlocks) {
        const int k = (b - layout.lumaBlocks) * 4;
        std::memcpy(&side.detailOut[to * 8 + k], &side.detail[from * 8 + k], 4 * sizeof(int32_t));
      }
    }
    if (side.block % bpm) ++to, ++from;
    std::memcpy(&side.detailOut[to * 8], &side.detail[from * 8],
                (layout.mcus - to) * 8 * sizeof(int32_t));
  }
  const int firstRow = int(side.block / bpm / layout.mcusX);
  side.inRange = Convert(layout, side.valuesOut, side.detailOut, side.bits, side.stride, firstRow,
                         layout.mcusY);
}

size_t FindSplit(const uint8_t* data, size_t begin, size_t end, size_t target, bool restarts,
                 size_t& sideBegin, int& nextRestart) {
  size_t s = std::max(target, begin + 1);
  while (s < end && data[s - 1] == 0xFF) ++s;
  if (s >= end) return 0;
  if (!restarts) {
    sideBegin = s;
    return s;
  }
  while (s < end) {
    const auto* ff = static_cast<const uint8_t*>(std::memchr(data + s, 0xFF, end - s));
    if (!ff) return 0;
    s = size_t(ff - data);
    size_t next = s + 1;
    while (next < end && data[next] == 0xFF) ++next;
    if (next >= end) return 0;
    if (data[next] >= 0xD0 && data[next] <= 0xD7) {
      sideBegin = next + 1;
      nextRestart = (data[next] + 1) & 7;
      return s;
    }
    if (data[next] != 0) return 0;  // the end of the data
    s = next + 1;
  }
  return 0;
}

}  // namespace tovak::jpeg_dc::detail
