#include "components/jpeg_dc_decoder.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "components/picture_error.h"

namespace tovak {

namespace {

// Everything here reproduces libjpeg-turbo's parsing and arithmetic for a 1/8 scaled decode, so
// that the pictures match its own to the bit.

// A block is at most 64 codes of 16 bits with 15 extra bits each, 248 bytes, and an MCU at most
// six blocks. The readers check their position once an MCU, so they may run this far past the
// data (over zeros) before noticing.
constexpr size_t kPadding = 2048;

// Streams with less entropy-coded data than this are decoded on one thread: starting a second
// costs more than it saves.
constexpr size_t kParallelMinimum = 128 * 1024;

// How many blocks of the second thread's output the first compares its own position with
// before it gives up on meeting it. Huffman codes fall back in step within a few symbols, and
// blocks and components soon after, so this is ample.
constexpr size_t kSyncWindow = 1 << 14;

// How often the second thread may start again a bit further on after reading something no
// encoder writes, before it gives up.
constexpr size_t kMaxBreaks = 64;

// The decoders unstuff the data in steps of this many bytes as they go.
constexpr size_t kFillStep = 64 * 1024;

uint16_t Be16(const uint8_t* p) {
  return uint16_t(p[0] << 8 | p[1]);
}

uint64_t LoadBe64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap64(v);
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
// calloc: large blocks come straight from the kernel, already zero, and untouched pages cost
// nothing.
template <typename T>
using Buffer = std::unique_ptr<T[], FreeDeleter>;
template <typename T>
Buffer<T> Allocate(size_t count) {
  return Buffer<T>(static_cast<T*>(std::calloc(count, sizeof(T))));
}

// Where the n-th coefficient in zigzag order goes; a run past the last lands on the last, as
// in libjpeg.
constexpr uint8_t kNatural[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

// --- Huffman tables ------------------------------------------------------------------------------

struct RawTable {
  bool defined = false;
  uint8_t counts[17] = {};  // codes of each length, 1..16
  uint8_t symbols[256] = {};
};

// A canonical Huffman code, checked as libjpeg's table builder checks it.
struct Code {
  int32_t maxcode[18];  // the largest code of each length, -1 for none
  int32_t offset[17];   // index of a code's symbol, less the code
  uint8_t symbols[256];

  bool Build(const RawTable& raw) {
    int lengths[257];
    uint32_t codes[256];
    int count = 0;
    for (int length = 1; length <= 16; ++length) {
      for (int i = 0; i < raw.counts[length]; ++i) lengths[count++] = length;
    }
    lengths[count] = 0;
    uint32_t code = 0;
    int length = lengths[0];
    for (int p = 0; lengths[p];) {
      while (lengths[p] == length) codes[p++] = code++;
      if (code >= (uint32_t{1} << length)) return false;
      code <<= 1;
      ++length;
    }
    std::memcpy(symbols, raw.symbols, sizeof symbols);
    int p = 0;
    for (int l = 1; l <= 16; ++l) {
      maxcode[l] = -1;
      offset[l] = 0;
      if (raw.counts[l] == 0) continue;
      offset[l] = p - int32_t(codes[p]);
      p += raw.counts[l];
      maxcode[l] = int32_t(codes[p - 1]);
    }
    maxcode[17] = INT32_MAX;
    return true;
  }

  // Decodes the code at the top of bits, trying lengths from `from` (every shorter length
  // already ruled out) up to `to`. False when none matches.
  bool Decode(uint64_t bits, int from, int to, int& length, int& symbol) const {
    for (length = from; length <= to; ++length) {
      const int64_t code = int64_t(bits >> (64 - length));
      if (code <= maxcode[length]) {
        symbol = symbols[offset[length] + code];
        return true;
      }
    }
    return false;
  }
};

// DC tables. An entry holds the code's length and the size of the difference that follows
// (length | size << 8); zero for a code longer than kDcBits.
constexpr int kDcBits = 9;
struct DcTable {
  uint16_t fast[1 << kDcBits];
  Code code;

  bool Build(const RawTable& raw) {
    if (!code.Build(raw)) return false;
    int count = 0;
    for (int l = 1; l <= 16; ++l) count += raw.counts[l];
    for (int i = 0; i < count; ++i) {
      if (raw.symbols[i] > 15) return false;  // a difference has at most 15 bits
    }
    for (uint32_t i = 0; i < (1u << kDcBits); ++i) {
      int length, symbol;
      fast[i] = code.Decode(uint64_t(i) << (64 - kDcBits), 1, kDcBits, length, symbol)
                    ? uint16_t(length | symbol << 8)
                    : 0;
    }
    return true;
  }
  unsigned Slow(uint64_t bits) const {
    int length, symbol;
    return code.Decode(bits, kDcBits + 1, 16, length, symbol) ? unsigned(length | symbol << 8) : 0;
  }
};

// AC tables, for stepping over coefficients without their values. An entry covers as many
// whole codes, with their value bits, as the kAcBits it is looked up by hold, up to and
// including an end of block:
//   bits 0-5    bits they take
//   bits 6-12   how far they move the coefficient index (the end of block not counted)
//   bit 13      they end with an end of block
//   bits 16-21  bits the first code alone takes, with its value
//   bits 22-28  how far it alone moves the index (64 for an end of block)
// A block may also end by running past its 64th coefficient; when the several codes of an
// entry would take it there, the first is taken alone. Zero: the first code is longer than
// kAcBits.
constexpr int kAcBits = 12;
constexpr uint32_t kEndOfBlock = 1u << 13;
struct AcTable {
  uint32_t fast[1 << kAcBits];
  // For decoding the values too: length | symbol << 8, zero when longer than kAcBits.
  uint16_t symbol[1 << kAcBits];
  Code code;

  static int Step(int symbol) {
    const int run = symbol >> 4, size = symbol & 15;
    return size ? run + 1 : run == 15 ? 16 : 64;
  }
  static uint32_t Single(int length, int symbol) {
    const int bits = length + (symbol & 15), step = Step(symbol);
    const uint32_t first = uint32_t(bits) << 16 | uint32_t(step) << 22;
    return step == 64 ? first | uint32_t(bits) | kEndOfBlock
                      : first | uint32_t(bits) | uint32_t(step) << 6;
  }

  bool Build(const RawTable& raw) {
    if (!code.Build(raw)) return false;
    for (uint32_t i = 0; i < (1u << kAcBits); ++i) {
      const uint64_t bits = uint64_t(i) << (64 - kAcBits);
      int length, symbol;
      if (!code.Decode(bits, 1, kAcBits, length, symbol)) {
        fast[i] = 0;
        this->symbol[i] = 0;
        continue;
      }
      this->symbol[i] = uint16_t(length | symbol << 8);
      uint32_t entry = Single(length, symbol);
      int used = length + (symbol & 15), step = Step(symbol);
      if (step < 64 && used < kAcBits) {
        // Further whole codes that fit.
        for (;;) {
          int l, sym;
          if (!code.Decode(bits << used, 1, kAcBits - used, l, sym)) break;
          const int n = l + (sym & 15), st = Step(sym);
          if (used + n > kAcBits) break;
          if (st == 64) {
            used += n;
            entry |= kEndOfBlock;
            break;
          }
          if (step + st > 62) break;
          used += n;
          step += st;
        }
        entry =
            (entry & 0xFFFF0000u) | (entry & kEndOfBlock) | uint32_t(used) | uint32_t(step) << 6;
      }
      fast[i] = entry;
    }
    return true;
  }
  uint32_t Slow(uint64_t bits) const {
    int length, symbol;
    return code.Decode(bits, kAcBits + 1, 16, length, symbol) ? Single(length, symbol) : 0;
  }
};

// --- Markers -------------------------------------------------------------------------------------

struct Component {
  int id = 0;
  int h = 1, v = 1;
  int quant = 0;
  int dcTable = 0, acTable = 0;
};

struct Stream {
  int width = 0, height = 0;
  int components = 0;
  Component comp[3];
  bool quantDefined[4] = {};
  int16_t quant[4][64] = {};  // in natural order, as the decoder keeps them: 16-bit signed
  RawTable dc[4], ac[4];
  int restartInterval = 0;
  size_t scanStart = 0;
  bool jfif = false, adobe = false;
  int adobeTransform = -1;
};

bool ReadFrame(const uint8_t* p, size_t n, Stream& s) {
  if (n < 6 || p[0] != 8) return false;  // 12-bit samples go to the full decoder
  s.height = Be16(p + 1);
  s.width = Be16(p + 3);
  s.components = p[5];
  // libjpeg's own limit on each side.
  if (s.width == 0 || s.height == 0 || s.width > 65500 || s.height > 65500) return false;
  if ((s.components != 1 && s.components != 3) || n != 6 + 3 * size_t(s.components)) return false;
  for (int i = 0; i < s.components; ++i) {
    Component& c = s.comp[i];
    c.id = p[6 + 3 * i];
    c.h = p[7 + 3 * i] >> 4;
    c.v = p[7 + 3 * i] & 15;
    c.quant = p[8 + 3 * i];
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quant > 3) return false;
    for (int j = 0; j < i; ++j) {
      if (s.comp[j].id == c.id) return false;
    }
  }
  return true;
}

bool ReadHuffmanTables(const uint8_t* p, size_t n, Stream& s) {
  while (n > 0) {
    if (n < 17) return false;
    const int kind = p[0] >> 4, index = p[0] & 15;
    if (kind > 1 || index > 3) return false;
    RawTable& t = kind == 0 ? s.dc[index] : s.ac[index];
    size_t total = 0;
    for (int l = 1; l <= 16; ++l) {
      t.counts[l] = p[l];
      total += p[l];
    }
    if (total > 256 || n < 17 + total) return false;
    std::memset(t.symbols, 0, sizeof t.symbols);
    std::memcpy(t.symbols, p + 17, total);
    t.defined = true;
    p += 17 + total;
    n -= 17 + total;
  }
  return true;
}

bool ReadQuantTables(const uint8_t* p, size_t n, Stream& s) {
  while (n > 0) {
    const int precision = p[0] >> 4, index = p[0] & 15;
    const size_t length = precision ? 129 : 65;
    if (precision > 1 || index > 3 || n < length) return false;
    for (int k = 0; k < 64; ++k) {
      s.quant[index][kNatural[k]] = precision ? int16_t(Be16(p + 1 + 2 * k)) : p[1 + k];
    }
    s.quantDefined[index] = true;
    p += length;
    n -= length;
  }
  return true;
}

bool ReadScanHeader(const uint8_t* p, size_t n, Stream& s) {
  // One scan holding every component, in the frame's order, all 64 coefficients at once.
  if (n < 1 || p[0] != s.components || n != 4 + 2 * size_t(s.components)) return false;
  for (int i = 0; i < s.components; ++i) {
    Component& c = s.comp[i];
    if (p[1 + 2 * i] != c.id) return false;
    c.dcTable = p[2 + 2 * i] >> 4;
    c.acTable = p[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3) return false;
    if (!s.dc[c.dcTable].defined || !s.ac[c.acTable].defined || !s.quantDefined[c.quant]) {
      return false;
    }
  }
  const uint8_t* q = p + 1 + 2 * s.components;
  return q[0] == 0 && q[1] == 63 && q[2] == 0;
}

// Reads every marker up to the first scan. False for anything the fast path does not take.
bool ReadStream(const uint8_t* data, size_t size, Stream& s) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  size_t pos = 2;
  bool frame = false;
  for (;;) {
    if (pos >= size || data[pos] != 0xFF) return false;
    while (pos < size && data[pos] == 0xFF) ++pos;
    if (pos >= size) return false;
    const int marker = data[pos++];
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // no length; ignored
    if (pos + 2 > size) return false;
    const size_t length = Be16(data + pos);
    if (length < 2 || length > size - pos) return false;
    const uint8_t* p = data + pos + 2;
    const size_t n = length - 2;
    pos += length;
    switch (marker) {
      case 0xC0:  // baseline
      case 0xC1:  // extended sequential, Huffman-coded
        if (frame || !ReadFrame(p, n, s)) return false;
        frame = true;
        break;
      case 0xC4:
        if (!ReadHuffmanTables(p, n, s)) return false;
        break;
      case 0xDB:
        if (!ReadQuantTables(p, n, s)) return false;
        break;
      case 0xDD:
        if (n != 2) return false;
        s.restartInterval = Be16(p);
        break;
      case 0xDA:
        if (!frame || !ReadScanHeader(p, n, s)) return false;
        s.scanStart = pos;
        return true;
      case 0xE0:
        if (n >= 14 && std::memcmp(p, "JFIF", 5) == 0) s.jfif = true;
        break;
      case 0xEE:
        if (n >= 12 && std::memcmp(p, "Adobe", 5) == 0) {
          s.adobe = true;
          s.adobeTransform = p[11];
        }
        break;
      default:
        if ((marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE) break;  // APPn, COM
        // Progressive, lossless and arithmetic-coded frames, DNL and anything stray.
        return false;
    }
  }
}

// The colour space libjpeg infers for three components: YCbCr unless the stream says RGB.
bool IsYCbCr(const Stream& s) {
  if (s.jfif) return true;
  if (s.adobe) return s.adobeTransform == 1;
  return !(s.comp[0].id == 'R' && s.comp[1].id == 'G' && s.comp[2].id == 'B');
}

// --- Entropy-coded data --------------------------------------------------------------------------

struct Restart {
  size_t offset;   // in unstuffed bytes: where the data after the marker starts
  uint8_t number;  // 0..7
};

// The entropy-coded data with its stuffed zero bytes and restart markers taken out, made as the
// decoders need it. The bytes past what is made are zero.
class EntropyData {
 public:
  EntropyData(const uint8_t* data, size_t begin, size_t end, bool restarts)
      : data_(data), in_(begin), end_(end), restarts_(restarts) {
    capacity_ = end - begin + kPadding + 8;
    bytes_ = Allocate<uint8_t>(capacity_);
  }

  bool Valid() const { return bytes_ != nullptr; }
  const uint8_t* Bytes() const { return bytes_.get(); }
  size_t Length() const { return length_; }
  bool Complete() const { return complete_; }
  // The marker that ended the data, or -1 when the input ran out first.
  int EndMarker() const { return endMarker_; }
  size_t InputPosition() const { return in_; }
  const std::vector<Restart>& Restarts() const { return restartList_; }

  // Makes the data up to input position limit, or to the end.
  void Fill(size_t limit) {
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

  // Keeps the data made at least kPadding bytes beyond bit position pos.
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

// Bits from unstuffed data, most significant first. The buffer holds the next `count` bits at
// its top and, below them, parts of later bytes that the next refill reloads unchanged.
class BitReader {
 public:
  explicit BitReader(const uint8_t* base) : base_(base), next_(base) {}

  void Refill() {
    buf_ |= LoadBe64(next_) >> count_;
    next_ += (63 - count_) >> 3;
    count_ |= 56;
  }
  // Enough for any code with its value, which takes at most 31 bits.
  void RefillIfLow() {
    if (count_ < 32) Refill();
  }
  uint64_t Peek() const { return buf_; }
  void Consume(unsigned n) {
    buf_ <<= n;
    count_ -= n;
  }
  uint64_t Position() const { return uint64_t(next_ - base_) * 8 - count_; }
  void SeekToByte(size_t offset) {
    next_ = base_ + offset;
    buf_ = 0;
    count_ = 0;
  }
  void SeekToBit(uint64_t pos) {
    SeekToByte(size_t(pos >> 3));
    Refill();
    Consume(unsigned(pos & 7));
  }

 private:
  const uint8_t* base_;
  const uint8_t* next_;
  uint64_t buf_ = 0;
  unsigned count_ = 0;
};

// The value bits of a coefficient of the given size, as a signed number.
inline int Extend(int bits, int size) {
  // Without branches: the size is as unpredictable as the picture.
  return bits < ((1 << size) >> 1) ? bits - (1 << size) + 1 : bits;
}

[[gnu::always_inline]] inline bool DecodeDc(BitReader& r, const DcTable& dc, int& diff) {
  r.Refill();
  unsigned e = dc.fast[r.Peek() >> (64 - kDcBits)];
  if (e == 0 && (e = dc.Slow(r.Peek())) == 0) [[unlikely]]
    return false;
  const unsigned length = e & 0xFF, size = e >> 8;
  diff = Extend(int((r.Peek() << length) >> 1 >> (63 - size)), int(size));
  r.Consume(length + size);
  return true;
}

// What decoding a block found.
enum BlockResult {
  kInvalid = 0,  // a code that is in no table
  kDecoded = 1,
  kOverrun = 2,  // a run past the 64th coefficient: libjpeg ends the block there, but no encoder
                 // writes it, so it means the bits were not read from where a block begins
};

// Decodes one block's DC difference and skips its AC coefficients, as libjpeg's decoder steps
// through them.
[[gnu::always_inline]] inline BlockResult DecodeBlock(BitReader& r, const DcTable& dc,
                                                      const AcTable& ac, int& diff) {
  if (!DecodeDc(r, dc, diff)) return kInvalid;
  unsigned k = 1;
  do {
    r.RefillIfLow();
    uint32_t a = ac.fast[r.Peek() >> (64 - kAcBits)];
    if (a == 0 && (a = ac.Slow(r.Peek())) == 0) [[unlikely]]
      return kInvalid;
    const unsigned step = (a >> 6) & 127;
    if (k + step < 64) {
      r.Consume(a & 63);
      k += step;
      if (a & kEndOfBlock) break;
    } else {
      r.Consume((a >> 16) & 63);
      k += (a >> 22) & 127;
    }
  } while (k < 64);
  return k > 64 ? kOverrun : kDecoded;
}

// libjpeg scales 4:2:0 chroma to an eighth by an inverse DCT to 2x2 samples, which uses the AC
// terms of rows and columns 1, 3, 5 and 7 too. The DC term only adds to what the others give
// before the final rounding, so they can be worked out first: each sample is then
// range_limit[(DC * quantiser + detail) >> 3], detail being what this returns for it (its
// rounding included). Arithmetic as libjpeg's, in 64 bits so that no stream can overflow it.
void ChromaDetail(const int16_t* coef, const int16_t* quant, int32_t* detail) {
  auto z = [&](int i) { return int64_t{coef[i]} * quant[i]; };
  auto odd = [](int64_t v1, int64_t v3, int64_t v5, int64_t v7) {
    return v7 * -5906 + v5 * 6967 + v3 * -10426 + v1 * 29692;
  };
  int64_t ws[2][8];  // the first pass, without the DC term
  for (const int col : {0, 1, 3, 5, 7}) {
    const int64_t t = odd(z(8 + col), z(24 + col), z(40 + col), z(56 + col));
    const int64_t even = col == 0 ? 0 : 4 * z(col);
    ws[0][col] = even + ((t + 4096) >> 13);
    ws[1][col] = even + ((4096 - t) >> 13);
  }
  for (int row = 0; row < 2; ++row) {
    const int64_t t = odd(ws[row][1], ws[row][3], ws[row][5], ws[row][7]);
    const int64_t even = ws[row][0] * 32768 + 524288;
    detail[row * 2] = int32_t(std::clamp<int64_t>((even + t) >> 17, INT32_MIN, INT32_MAX));
    detail[row * 2 + 1] = int32_t(std::clamp<int64_t>((even - t) >> 17, INT32_MIN, INT32_MAX));
  }
}

// The AC coefficients the 2x2 inverse DCT uses: rows and columns 0, 1, 3, 5 and 7.
constexpr struct UsedBy2x2 {
  bool used[64];
  constexpr UsedBy2x2() : used() {
    for (int i = 1; i < 64; ++i) {
      const int row = i / 8, col = i % 8;
      used[i] = (row == 0 || row % 2 == 1) && (col == 0 || col % 2 == 1);
    }
  }
  constexpr bool operator[](int i) const { return used[i]; }
} kUsedBy2x2;

// A 4:2:0 chroma block: its DC difference, and the detail of its four samples.
[[gnu::always_inline]] inline BlockResult DecodeChromaBlock(BitReader& r, const DcTable& dc,
                                                            const AcTable& ac, const int16_t* quant,
                                                            int& diff, int32_t* detail) {
  if (!DecodeDc(r, dc, diff)) return kInvalid;
  int16_t coef[64] = {};
  bool used = false;  // whether any coefficient the inverse DCT uses is there
  int k = 1;
  for (; k < 64; ++k) {
    r.Refill();
    unsigned e = ac.symbol[r.Peek() >> (64 - kAcBits)];
    int length, symbol;
    if (e) {
      length = int(e & 0xFF);
      symbol = int(e >> 8);
    } else if (!ac.code.Decode(r.Peek(), kAcBits + 1, 16, length, symbol)) [[unlikely]] {
      return kInvalid;
    }
    const int run = symbol >> 4, size = symbol & 15;
    if (size) {
      k += run;
      const int at = kNatural[k];
      coef[at] = int16_t(Extend(int((r.Peek() << length) >> (64 - size)), size));
      used |= kUsedBy2x2[at];
      r.Consume(unsigned(length + size));
    } else {
      r.Consume(unsigned(length));
      if (run != 15) break;
      k += 15;
    }
  }
  if (used) {
    ChromaDetail(coef, quant, detail);
  } else {
    // Only the rounding.
    detail[0] = detail[1] = detail[2] = detail[3] = 4;
  }
  return k > 64 ? kOverrun : kDecoded;
}

// --- Decoding ------------------------------------------------------------------------------------

struct Layout {
  int blocksPerMcu = 1;
  int mcusX = 0, mcusY = 0;
  size_t mcus = 0, blocks = 0;
  int restartInterval = 0;
  int components = 1;
  int hY = 1, vY = 1;         // luma blocks across and down an MCU
  int width = 0, height = 0;  // of the picture at an eighth
  int quant[3] = {};          // each component's DC quantiser
  const int16_t* quantTable[3] = {};
  int lumaBlocks = 1;
  bool chromaDetail = false;  // 4:2:0: chroma blocks are decoded in full, see ChromaDetail
  const DcTable* dc[6] = {};
  const AcTable* ac[6] = {};
  uint8_t component[6] = {};  // of each block in an MCU
};

// Decodes the b-th block of an MCU; detail is the MCU's, for 4:2:0 chroma.
[[gnu::always_inline]] inline BlockResult DecodeBlockOf(BitReader& r, const Layout& layout, int b,
                                                        int& diff, int32_t* detail) {
  if (layout.chromaDetail && b >= layout.lumaBlocks) {
    return DecodeChromaBlock(r, *layout.dc[b], *layout.ac[b],
                             layout.quantTable[layout.component[b]], diff,
                             detail + (b - layout.lumaBlocks) * 4);
  }
  return DecodeBlock(r, *layout.dc[b], *layout.ac[b], diff);
}

// Decodes an MCU, keeping each block's DC coefficient as libjpeg does: the running sum of the
// differences, of which only the low 16 bits count. With kRecord, notes where each block began.
// Gives the worst of its blocks' results.
template <bool kRecord>
[[gnu::always_inline]] inline int DecodeMcu(BitReader& r, const Layout& layout, uint16_t pred[3],
                                            uint16_t* out, uint64_t* starts, int32_t* detail) {
  int result = kDecoded;
  for (int b = 0; b < layout.blocksPerMcu; ++b) {
    if constexpr (kRecord) starts[b] = r.Position();
    int diff;
    const BlockResult block = DecodeBlockOf(r, layout, b, diff, detail);
    if (block == kInvalid) return kInvalid;
    result |= block;
    uint16_t& p = pred[layout.component[b]];
    p = uint16_t(p + diff);
    out[b] = p;
  }
  return result;
}

// Turns a DC coefficient into a sample as libjpeg's 1x1 inverse DCT does: scaled down by 8
// around mid-grey, then through its range-limit table (which wraps far-out values).
struct RangeLimit {
  uint8_t table[1024];
  constexpr RangeLimit() : table() {
    for (int x = 0; x < 1024; ++x) {
      table[x] = x < 128 ? uint8_t(x + 128) : x < 512 ? 255 : x < 896 ? 0 : uint8_t(x - 896);
    }
  }
};
constexpr RangeLimit kRangeLimit;

inline uint8_t Sample(uint16_t coefficient, int quant) {
  return kRangeLimit.table[((int16_t(coefficient) * quant + 4) >> 3) & 1023];
}

// A sample of 4:2:0 chroma's 2x2 inverse DCT.
inline uint8_t Sample(uint16_t coefficient, int quant, int32_t detail) {
  return kRangeLimit.table[((int64_t{int16_t(coefficient)} * quant + detail) >> 3) & 1023];
}

// libjpeg's YCbCr to RGB conversion, to the bit.
struct ColourTables {
  int crR[256], cbB[256], crG[256], cbG[256];
  ColourTables() {
    constexpr int kBits = 16;
    constexpr int64_t kHalf = int64_t{1} << (kBits - 1);
    auto fix = [](double x) { return int64_t(x * (1 << kBits) + 0.5); };
    for (int i = 0; i < 256; ++i) {
      const int64_t x = i - 128;
      crR[i] = int((fix(1.40200) * x + kHalf) >> kBits);
      cbB[i] = int((fix(1.77200) * x + kHalf) >> kBits);
      crG[i] = int(-fix(0.71414) * x);
      cbG[i] = int(-fix(0.34414) * x + kHalf);
    }
  }
};

inline uint32_t Clamp(int x) {
  return uint32_t(std::clamp(x, 0, 255));
}

// Writes the pixels of MCU rows [rowBegin, rowEnd), for kComponents components and luma blocks
// kH across and kV down an MCU. Chroma at an eighth: 4:2:2 and 4:4:0 are widened by repeating
// samples, 4:2:0 comes from its 2x2 inverse DCT, with the detail of each sample.
template <int kComponents, int kH, int kV>
void ConvertRows(const Layout& layout, const uint16_t* values, const int32_t* detail, uint8_t* bits,
                 size_t stride, int rowBegin, int rowEnd) {
  static const ColourTables t;
  constexpr int kBlocks = kComponents == 1 ? 1 : kH * kV + 2;
  const int q0 = layout.quant[0], q1 = layout.quant[1], q2 = layout.quant[2];
  for (int my = rowBegin; my < rowEnd; ++my) {
    const uint16_t* v = values + size_t(my) * layout.mcusX * kBlocks;
    if constexpr (kComponents == 1) {
      auto* line = reinterpret_cast<uint32_t*>(bits + size_t(my) * stride);
      for (int mx = 0; mx < layout.mcusX; ++mx) {
        line[mx] = 0xFF000000u | Sample(v[mx], q0) * 0x010101u;
      }
    } else if constexpr (kH == 2 && kV == 2) {
      const int32_t* d = detail + size_t(my) * layout.mcusX * 8;
      for (int mx = 0; mx < layout.mcusX; ++mx, v += kBlocks, d += 8) {
        for (int by = 0; by < 2; ++by) {
          const int y = my * 2 + by;
          if (y >= layout.height) break;
          auto* line = reinterpret_cast<uint32_t*>(bits + size_t(y) * stride);
          for (int bx = 0; bx < 2; ++bx) {
            const int x = mx * 2 + bx;
            if (x >= layout.width) break;
            const int l = Sample(v[by * 2 + bx], q0);
            const int cb = Sample(v[4], q1, d[by * 2 + bx]);
            const int cr = Sample(v[5], q2, d[4 + by * 2 + bx]);
            line[x] = 0xFF000000u | Clamp(l + t.crR[cr]) << 16 |
                      Clamp(l + ((t.cbG[cb] + t.crG[cr]) >> 16)) << 8 | Clamp(l + t.cbB[cb]);
          }
        }
      }
    } else {
      for (int mx = 0; mx < layout.mcusX; ++mx, v += kBlocks) {
        const int cb = Sample(v[kH * kV], q1), cr = Sample(v[kH * kV + 1], q2);
        const int red = t.crR[cr], green = (t.cbG[cb] + t.crG[cr]) >> 16, blue = t.cbB[cb];
        for (int by = 0; by < kV; ++by) {
          const int y = my * kV + by;
          if (kV > 1 && y >= layout.height) break;
          auto* line = reinterpret_cast<uint32_t*>(bits + size_t(y) * stride);
          for (int bx = 0; bx < kH; ++bx) {
            const int x = mx * kH + bx;
            if (kH > 1 && x >= layout.width) break;
            const int l = Sample(v[by * kH + bx], q0);
            line[x] = 0xFF000000u | Clamp(l + red) << 16 | Clamp(l + green) << 8 | Clamp(l + blue);
          }
        }
      }
    }
  }
}

void Convert(const Layout& layout, const uint16_t* values, const int32_t* detail, uint8_t* bits,
             size_t stride, int rowBegin, int rowEnd) {
  auto convert = [&](auto rows) { rows(layout, values, detail, bits, stride, rowBegin, rowEnd); };
  if (layout.components == 1) return convert(ConvertRows<1, 1, 1>);
  if (layout.hY == 1 && layout.vY == 1) return convert(ConvertRows<3, 1, 1>);
  if (layout.hY == 2 && layout.vY == 1) return convert(ConvertRows<3, 2, 1>);
  if (layout.hY == 1 && layout.vY == 2) return convert(ConvertRows<3, 1, 2>);
  convert(ConvertRows<3, 2, 2>);
}

// Between the calling thread and the second one, which decodes from somewhere in the middle.
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

  void Decide(int v) {
    verdict.store(v, std::memory_order_release);
    verdict.notify_one();
  }
};

// The second thread's decoding: from input position begin (just after a restart marker when the
// stream has restart intervals, the next one then numbered nextRestart), blocks as if the first
// were the first of an MCU, until the data ends or something does not decode.
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

// The second thread: decodes, then, when the calling thread met it, puts right and converts the
// blocks from that point on.
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
  Convert(layout, side.valuesOut, side.detailOut, side.bits, side.stride, firstRow, layout.mcusY);
}

// Where the second thread starts: at or after target, on a byte that begins fresh data (not
// the zero after a 0xFF), or, with restart intervals, on a restart marker. 0 when there is none.
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
    if (restarts && mcusToRestart == 0) {
      const auto& list = entropy.Restarts();
      if (restartIndex >= list.size()) return {};
      const Restart& rst = list[restartIndex];
      if (rst.number != (restartIndex & 7) || (r.Position() + 7) / 8 != rst.offset) return {};
      r.SeekToByte(rst.offset);
      ++restartIndex;
      mcusToRestart = layout.restartInterval;
      pred[0] = pred[1] = pred[2] = 0;
    }
    const uint64_t sideBase = uint64_t(entropy.MarkLength()) * 8;  // its bit 0 in this data
    int32_t* mcuDetail = detail ? &detail[mcu * 8] : nullptr;
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
  Convert(layout, values.get(), detail.get(), bits, stride, 0, rows);
  return image;
}

}  // namespace

QImage DecodeJpegDcOnly(const uint8_t* data, size_t size, std::optional<double> splitAt,
                        bool* shared) {
  if (shared) *shared = false;
  Stream s;
  if (!data || !ReadStream(data, size, s)) return {};
  if (int64_t{s.width} * s.height > kMaxPicturePixels) return {};
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
