#include "components/jpeg_dc_decoder.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#include "components/jpeg_dc/bit_reader.h"
#include "components/jpeg_dc/block_decoding.h"
#include "components/jpeg_dc/entropy_data.h"
#include "components/jpeg_dc/huffman_tables.h"
#include "components/jpeg_dc/layout.h"
#include "components/jpeg_dc/markers.h"
#include "components/jpeg_dc/pixels.h"
#include "components/jpeg_dc/second_thread.h"
#include "components/jpeg_dc/zeroed_buffer.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

using jpeg_dc::detail::AcTable;
using jpeg_dc::detail::Allocate;
using jpeg_dc::detail::BitReader;
using jpeg_dc::detail::Buffer;
using jpeg_dc::detail::Component;
using jpeg_dc::detail::Convert;
using jpeg_dc::detail::DcTable;
using jpeg_dc::detail::DecodeBlockOf;
using jpeg_dc::detail::DecodeMcu;
using jpeg_dc::detail::EntropyData;
using jpeg_dc::detail::FindSplit;
using jpeg_dc::detail::IsYCbCr;
using jpeg_dc::detail::kSyncWindow;
using jpeg_dc::detail::Layout;
using jpeg_dc::detail::ReadStream;
using jpeg_dc::detail::Restart;
using jpeg_dc::detail::RunSide;
using jpeg_dc::detail::Side;
using jpeg_dc::detail::Stream;

// Streams with less entropy-coded data than this are decoded on one thread: starting a second
// costs more than it saves.
constexpr size_t kParallelMinimum = 128 * 1024;

// Decodes the scan that starts at scanStart, splitting its data at splitAt between this thread
// and a second one when that is in (0, 1).
QImage Decode(const uint8_t* data, size_t size, size_t scanStart, const Layout& layout,
              double splitAt, bool* shared) {
  const size_t begin = scanStart, end = size;
  const bool restarts = layout.restartInterval > 0;
  const int bpm = layout.blocksPerMcu;

  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  Buffer<uint16_t> values = Allocate<uint16_t>(layout.blocks);
  Buffer<int32_t> detail;
  if (layout.chromaDetail) {
    detail = Allocate<int32_t>(layout.mcus * 8);
    if (!detail) return {};
  }
  EntropyData entropy(data, begin, end, restarts);
  if (image.isNull() || !values || !entropy.Valid()) return {};
  // QImage's RGB32 is 0xffRRGGBB in native order.
  uint8_t* bits = image.bits();
  const size_t stride = size_t(image.bytesPerLine());

  // The second thread, when there is one. Its start is only a guess at where a block begins
  // (except at a restart marker); this thread checks, as it goes past, whether its own blocks
  // begin where the second thread's did.
  size_t split = 0, sideBegin = 0;
  int nextRestart = 0;
  if (splitAt > 0 && splitAt < 1) {
    // The scan's data runs nearly to the end of the file.
    const size_t target = begin + size_t(double(end - begin) * splitAt);
    split = FindSplit(data, begin, end, target, restarts, sideBegin, nextRestart);
  }
  Side side;
  std::thread thread;
  if (split) {
    // Before it falls in step it may see more, smaller blocks than there are.
    side.capacity = layout.blocks + kSyncWindow;
    side.values = Allocate<uint16_t>(side.capacity);
    if (layout.chromaDetail) side.detail = Allocate<int32_t>((side.capacity / bpm + 1) * 8);
    side.starts = Allocate<uint64_t>(kSyncWindow);
    try {
      if (side.values && side.starts && (side.detail || !layout.chromaDetail)) {
        thread = std::thread(RunSide, data, sideBegin, end, std::cref(layout), nextRestart,
                             std::ref(side));
      }
    } catch (const std::system_error&) {
    }
    if (thread.joinable()) {
      entropy.SetMark(split);
    } else {
      split = 0;
    }
  }
  struct Joiner {
    std::thread& thread;
    Side& side;
    ~Joiner() {
      if (!thread.joinable()) return;
      side.stop.store(true, std::memory_order_relaxed);
      if (side.verdict.load(std::memory_order_relaxed) == 0) side.Decide(2);
      thread.join();
    }
  } joiner{thread, side};

  BitReader r(entropy.Bytes());
  uint16_t pred[3] = {};
  size_t restartIndex = 0;
  int mcusToRestart = layout.restartInterval;
  size_t blk = 0;
  size_t sideCursor = 0;    // the first of the second thread's blocks not yet passed
  size_t metAt = SIZE_MAX;  // the second thread's block where this one caught up with it
  bool watching = split != 0;
  const size_t recordLimit = kSyncWindow / bpm * bpm;  // blocks whose starts it records
  for (size_t mcu = 0; mcu < layout.mcus; ++mcu) {
    entropy.EnsureAhead(r.Position());
    bool restartedAtSide = false;  // at the restart marker where the second thread began
    if (restarts && mcusToRestart == 0) {
      const auto& list = entropy.Restarts();
      if (restartIndex >= list.size()) return {};
      const Restart& rst = list[restartIndex];
      if (rst.number != (restartIndex & 7) || (r.Position() + 7) / 8 != rst.offset) return {};
      r.SeekToByte(rst.offset);
      ++restartIndex;
      mcusToRestart = layout.restartInterval;
      pred[0] = pred[1] = pred[2] = 0;
      restartedAtSide = rst.offset == entropy.MarkLength() && ((rst.number + 1) & 7) == nextRestart;
    }
    const uint64_t sideBase = uint64_t(entropy.MarkLength()) * 8;  // its bit 0 in this data
    int32_t* mcuDetail = detail ? &detail[mcu * 8] : nullptr;
    if (restarts && watching && entropy.MarkLength() != SIZE_MAX && r.Position() >= sideBase &&
        !restartedAtSide) {
      // The second thread took its start for a restart; this one reached it otherwise, through
      // the middle of an interval or at another marker, and will find the stream broken there.
      watching = false;
      side.stop.store(true, std::memory_order_relaxed);
    }
    if (!watching || entropy.MarkLength() == SIZE_MAX || r.Position() < sideBase) {
      if (!DecodeMcu<false>(r, layout, pred, &values[blk], nullptr, mcuDetail)) return {};
      blk += bpm;
    } else {
      for (int b = 0; b < bpm; ++b) {
        // Same bit, same block of the MCU: from here on the second thread decoded exactly what
        // this one would.
        const uint64_t pos = r.Position() - sideBase;
        size_t published;
        for (;;) {
          const bool decoded = side.decoded.load(std::memory_order_acquire);
          published = side.published.load(std::memory_order_acquire);
          while (sideCursor < published && side.starts[sideCursor] < pos) ++sideCursor;
          if (sideCursor < published || decoded || published >= recordLimit) break;
          // It lags behind (it was slow to start): waiting costs less than going on alone.
          std::this_thread::yield();
        }
        if (watching && sideCursor < published && side.starts[sideCursor] == pos &&
            int(sideCursor % bpm) == b) {
          // Usable if it went on to the end without starting again in between.
          side.decoded.wait(false, std::memory_order_acquire);
          const size_t end = sideCursor + (layout.blocks - blk);
          bool usable = end <= side.valid;
          for (const size_t at : side.breaks) usable = usable && (at <= sideCursor || at >= end);
          if (usable) {
            metAt = sideCursor;
            break;
          }
          watching = false;
        }
        if (sideCursor >= published) {
          // Past all it has to show: it went astray or stopped.
          watching = false;
          side.stop.store(true, std::memory_order_relaxed);
        }
        int diff;
        if (!DecodeBlockOf(r, layout, b, diff, mcuDetail)) return {};
        uint16_t& p = pred[layout.component[b]];
        p = uint16_t(p + diff);
        values[blk++] = p;
      }
      if (metAt != SIZE_MAX) break;
    }
    if (entropy.Complete() && r.Position() > entropy.Length() * 8) return {};  // cut short
    --mcusToRestart;
  }

  size_t markers = 0;  // restart markers in the whole scan
  int endMarker = -1;
  if (metAt != SIZE_MAX) {
    const size_t sideStart = entropy.MarkLength();
    for (const Restart& rst : entropy.Restarts()) markers += rst.offset <= sideStart;
    markers += side.restarts.size();
    endMarker = side.endMarker;
  } else {
    entropy.Fill(end);
    markers = entropy.Restarts().size();
    endMarker = entropy.EndMarker();
  }
  // Every restart marker where an interval ended and nowhere else, and the scan the picture's
  // last word.
  if (markers != (restarts ? (layout.mcus - 1) / layout.restartInterval : 0)) return {};
  if (endMarker != 0xD9) return {};

  int rows = layout.mcusY;
  if (metAt != SIZE_MAX) {
    // Its predictors started at zero where this thread's stood at pred.
    for (int c = 0; c < layout.components; ++c) {
      uint16_t before = 0;
      for (size_t n = metAt; n > 0 && n + bpm > metAt; --n) {
        if (layout.component[(n - 1) % bpm] == c) {
          before = side.values[n - 1];
          break;
        }
      }
      side.offset[c] = uint16_t(pred[c] - before);
    }
    side.metAt = metAt;
    side.block = blk;
    side.valuesOut = values.get();
    side.detailOut = detail.get();
    side.bits = bits;
    side.stride = stride;
    side.Decide(1);
    rows = int(blk / bpm / layout.mcusX);
    if (shared) *shared = true;
  }
  bool inRange = Convert(layout, values.get(), detail.get(), bits, stride, 0, rows);
  if (metAt != SIZE_MAX) {
    thread.join();  // its rows too
    inRange = inRange && side.inRange;
  }
  if (!inRange) return {};
  return image;
}

}  // namespace

QImage DecodeJpegDcOnly(const uint8_t* data, size_t size, std::optional<double> splitAt,
                        bool* shared) {
  if (shared) *shared = false;
  Stream s;
  if (!data || !ReadStream(data, size, s)) return {};
  if (int64_t{s.width} * s.height > kMaxPicturePixels) return {};
  // Asked for a picture of an eighth of the size, libjpeg-turbo decodes at the largest of its
  // scales that fits, and for a picture of at most 4 x 4 pixels a quarter already does (or
  // more): its pixels are then not an eighth-scale decode's.
  if (s.width <= 4 && s.height <= 4) return {};
  if (s.components == 3 && !IsYCbCr(s)) return {};

  Layout layout;
  layout.restartInterval = s.restartInterval;
  layout.components = s.components;
  layout.width = (s.width + 7) / 8;
  layout.height = (s.height + 7) / 8;
  for (int c = 0; c < s.components; ++c) {
    layout.quant[c] = s.quant[s.comp[c].quant][0];
    layout.quantTable[c] = s.quant[s.comp[c].quant];
  }
  // One table of each kind and index in use; the chroma components usually share theirs.
  std::unique_ptr<DcTable> dcTables[4];
  std::unique_ptr<AcTable> acTables[4];
  const DcTable* dcOf[3];
  const AcTable* acOf[3];
  for (int c = 0; c < s.components; ++c) {
    auto& dc = dcTables[s.comp[c].dcTable];
    auto& ac = acTables[s.comp[c].acTable];
    if (!dc) {
      dc = std::make_unique<DcTable>();
      if (!dc->Build(s.dc[s.comp[c].dcTable])) return {};
    }
    if (!ac) {
      ac = std::make_unique<AcTable>();
      if (!ac->Build(s.ac[s.comp[c].acTable])) return {};
    }
    dcOf[c] = dc.get();
    acOf[c] = ac.get();
  }
  if (s.components == 1) {
    // A single component is coded block by block, whatever its sampling factors say.
    layout.mcusX = (s.width + 7) / 8;
    layout.mcusY = (s.height + 7) / 8;
    layout.dc[0] = dcOf[0];
    layout.ac[0] = acOf[0];
  } else {
    const Component& y = s.comp[0];
    if (y.h > 2 || y.v > 2) return {};
    for (int c = 1; c < 3; ++c) {
      if (s.comp[c].h != 1 || s.comp[c].v != 1) return {};
    }
    layout.mcusX = (s.width + 8 * y.h - 1) / (8 * y.h);
    layout.mcusY = (s.height + 8 * y.v - 1) / (8 * y.v);
    layout.hY = y.h;
    layout.vY = y.v;
    layout.lumaBlocks = y.h * y.v;
    layout.chromaDetail = y.h == 2 && y.v == 2;
    layout.blocksPerMcu = y.h * y.v + 2;
    for (int b = 0; b < layout.blocksPerMcu; ++b) {
      const int c = b < y.h * y.v ? 0 : b - y.h * y.v + 1;
      layout.component[b] = uint8_t(c);
      layout.dc[b] = dcOf[c];
      layout.ac[b] = acOf[c];
    }
  }
  layout.mcus = size_t(layout.mcusX) * layout.mcusY;
  layout.blocks = layout.mcus * layout.blocksPerMcu;
  if (!splitAt) {
    splitAt = size - s.scanStart >= kParallelMinimum && std::thread::hardware_concurrency() > 1
                  ? 0.5
                  : 0.0;
  }
  return Decode(data, size, s.scanStart, layout, *splitAt, shared);
}

}  // namespace tovak
