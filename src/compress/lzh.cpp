#include "compress/lzh.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>

#include "compress/compress_errors.h"
#include "compress/lzh_position_code.h"

namespace tovak {

namespace {

using lzh::kPosition;

constexpr int N = 4096;                      // ring size
constexpr int F = 60;                        // look-ahead, the longest match
constexpr int THRESHOLD = 2;                 // matches this short go as literals
constexpr int NIL = N;                       // no link in the search trees
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
constexpr int T = N_CHAR * 2 - 1;            // 627 Huffman nodes
constexpr int R = T - 1;                     // the root
constexpr unsigned MAX_FREQ = 0x8000;        // the model is rebuilt when the root reaches it
constexpr int kRingFill = N - F;             // 4036 bytes of spaces before the data

// Room after the ring's mirrored tail so that string comparisons can load whole words.
constexpr int kRingPad = 16;

static_assert(TLZH::kMaxExpansion == 8 * F / (1 + 3 + 6));

// A match of length i at ring position p for the string at r, as an orderable number.
inline int MatchScore(int i, int r, int p) {
  const int position = ((r - p) & (N - 1)) - 1;  // distance - 1, 0..4094
  return (i << 13) | (N - 1 - position);
}

inline uint32_t LoadBigEndian32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap32(v);
  return v;
}

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

}  // namespace

struct TLZH::Tables {
  // Search-tree links: kid[0] is the left child, kid[1] the right. Nodes N + 1 .. N + 256 are the
  // roots, one per first byte, and use the right link only. Beside each link lie bytes 1..4 of
  // the child's string, so a step of the walk compares without first fetching the child.
  struct Node {
    int16_t kid[2];
    uint32_t kidHead[2];
  };
  Node nodes[N + 257];
  int16_t dad[N + 1];
  uint8_t ring[N + F - 1 + kRingPad];
  uint16_t freq[T + 1];
  int16_t prnt[T + N_CHAR];
  int16_t son[T];
};

// Bits leave most significant first; whole bytes go to the sink as soon as they are complete.
class LzhBitWriter {
 public:
  explicit LzhBitWriter(LzhByteSink& sink) : sink_(sink) {}

  // Sends the low `length` bits of code (length <= 32).
  void Put(uint32_t code, int length) {
    acc_ = (acc_ << length) | code;
    count_ += length;
    while (count_ >= 8) {
      count_ -= 8;
      sink_.Put(static_cast<uint8_t>(acc_ >> count_));
    }
  }

  // The last partial byte, its unused low bits 0.
  void Finish() {
    if (count_ > 0) sink_.Put(static_cast<uint8_t>(acc_ << (8 - count_)));
    count_ = 0;
  }

 private:
  LzhByteSink& sink_;
  uint64_t acc_ = 0;
  int count_ = 0;
};

// Bits are taken most significant first. A byte is fetched from the source whenever 8 bits or
// fewer are left, as the classic coder does, so the source is asked for more (and past its end)
// at exactly the same moments; in between, whole words are taken from its window at once.
class LzhBitReader {
 public:
  explicit LzhBitReader(LzhByteSource& source) : source_(source) {}

  unsigned Bit() {
    if (count_ <= 8) Fill();
    const unsigned bit = static_cast<unsigned>(buf_ >> 63);
    buf_ <<= 1;
    --count_;
    return bit;
  }

  unsigned Byte() {
    if (count_ <= 8) Fill();
    const unsigned byte = static_cast<unsigned>(buf_ >> 56);
    buf_ <<= 8;
    count_ -= 8;
    return byte;
  }

  // True once a bit from beyond the end of the input has been taken.
  bool Overran() const { return pastEnd_ > 0 && 8 * pastEnd_ > count_; }

 private:
  void Fill() {
    for (;;) {
      while (count_ <= 56 && source_.cur_ != source_.end_) {
        buf_ |= uint64_t{*source_.cur_++} << (56 - count_);
        count_ += 8;
      }
      if (count_ > 8) return;
      uint8_t byte = 0;
      if (!source_.Next(byte)) {
        byte = 0;
        ++pastEnd_;
      }
      buf_ |= uint64_t{byte} << (56 - count_);
      count_ += 8;
    }
  }

  LzhByteSource& source_;
  uint64_t buf_ = 0;
  int count_ = 0;
  int64_t pastEnd_ = 0;
};

namespace {

// One encoding or decoding run over freshly zeroed tables.
class LzhRun {
 public:
  explicit LzhRun(TLZH::Tables& t) : t_(t) {}

  int32_t Encode(LzhByteSource& source, LzhByteSink& sink);
  bool Decode(int32_t size, LzhByteSource& source, LzhByteSink& sink, bool stopOnOverrun);

 private:
  void StartHuff();
  void Reconst();
  void Update(int c);
  void EncodeChar(LzhBitWriter& out, int c);
  void EncodePosition(LzhBitWriter& out, unsigned position);
  int DecodeChar(LzhBitReader& in);
  unsigned DecodePosition(LzhBitReader& in);

  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);
  void ReplaceNode(int p, int r);
  uint32_t Head(int p) const;
  void Link(int parent, int side, int child);
  void CopyLink(int parent, int side, int from, int fromSide);

  TLZH::Tables& t_;
  int matchPosition_ = 0;
  int matchLength_ = 0;
};

void LzhRun::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    t_.freq[i] = 1;
    t_.son[i] = static_cast<int16_t>(i + T);
    t_.prnt[i + T] = static_cast<int16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    t_.freq[j] = static_cast<uint16_t>(t_.freq[i] + t_.freq[i + 1]);
    t_.son[j] = static_cast<int16_t>(i);
    t_.prnt[i] = t_.prnt[i + 1] = static_cast<int16_t>(j);
  }
  t_.freq[T] = 0xFFFF;
  t_.prnt[R] = 0;
}

void LzhRun::Reconst() {
  uint16_t* freq = t_.freq;
  int16_t* son = t_.son;
  int n = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[n] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[n] = son[i];
      ++n;
    }
  }
  for (int i = 0, j = N_CHAR; j < T; i += 2, ++j) {
    const unsigned f = freq[i] + freq[i + 1];
    int k = j - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], sizeof freq[0] * (j - k));
    freq[k] = static_cast<uint16_t>(f);
    std::memmove(&son[k + 1], &son[k], sizeof son[0] * (j - k));
    son[k] = static_cast<int16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      t_.prnt[k] = static_cast<int16_t>(i);
    } else {
      t_.prnt[k] = t_.prnt[k + 1] = static_cast<int16_t>(i);
    }
  }
}

void LzhRun::Update(int c) {
  uint16_t* freq = t_.freq;
  int16_t* son = t_.son;
  int16_t* prnt = t_.prnt;
  if (freq[R] == MAX_FREQ) Reconst();
  c = prnt[c + T];
  do {
    const unsigned k = ++freq[c];
    if (k > freq[c + 1]) {
      // The frequencies are kept in ascending order, so the last node below k is found by
      // search rather than by walking a possibly long stretch of equal counts.
      int l = c + 1;
      if (freq[l + 1] < k) {
        l = static_cast<int>(std::lower_bound(freq + l + 1, freq + T + 1, k) - freq) - 1;
      }
      freq[c] = freq[l];
      freq[l] = static_cast<uint16_t>(k);
      const int i = son[c];
      prnt[i] = static_cast<int16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<int16_t>(l);
      const int j = son[l];
      son[l] = static_cast<int16_t>(i);
      prnt[j] = static_cast<int16_t>(c);
      if (j < T) prnt[j + 1] = static_cast<int16_t>(c);
      son[c] = static_cast<int16_t>(j);
      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

void LzhRun::EncodeChar(LzhBitWriter& out, int c) {
  // Walks from the leaf to the root; the bit nearest the root is sent first. The code is kept
  // whole however deep the tree grows.
  uint32_t code = 0;
  int length = 0;
  int k = t_.prnt[c + T];
  do {
    code |= static_cast<uint32_t>(k & 1) << length;
    ++length;
    k = t_.prnt[k];
  } while (k != R);
  out.Put(code, length);
  Update(c);
}

void LzhRun::EncodePosition(LzhBitWriter& out, unsigned position) {
  const unsigned upper = position >> 6;
  const int length = kPosition.length[upper];
  out.Put((static_cast<uint32_t>(kPosition.code[upper]) << 6) | (position & 63), length + 6);
}

int LzhRun::DecodeChar(LzhBitReader& in) {
  const int16_t* son = t_.son;
  int c = son[R];
  while (c < T) c = son[c + in.Bit()];
  c -= T;
  Update(c);
  return c;
}

unsigned LzhRun::DecodePosition(LzhBitReader& in) {
  unsigned b = in.Byte();
  const unsigned upper = kPosition.valueOfByte[b];
  for (int extra = kPosition.lengthOfByte[b] - 2; extra > 0; --extra) b = (b << 1) | in.Bit();
  return (upper << 6) | (b & 63);
}

void LzhRun::InitTree() {
  for (int i = N + 1; i <= N + 256; ++i) t_.nodes[i].kid[1] = NIL;
  for (int i = 0; i <= N; ++i) t_.dad[i] = NIL;
}

uint32_t LzhRun::Head(int p) const {
  return LoadBigEndian32(&t_.ring[p + 1]);
}

void LzhRun::Link(int parent, int side, int child) {
  t_.nodes[parent].kid[side] = static_cast<int16_t>(child);
  t_.nodes[parent].kidHead[side] = child == NIL ? 0 : Head(child);
}

void LzhRun::CopyLink(int parent, int side, int from, int fromSide) {
  t_.nodes[parent].kid[side] = t_.nodes[from].kid[fromSide];
  t_.nodes[parent].kidHead[side] = t_.nodes[from].kidHead[fromSide];
}

void LzhRun::InsertNode(int r) {
  TLZH::Tables::Node* nodes = t_.nodes;
  const uint8_t* key = &t_.ring[r];
  int p = N + 1 + key[0];
  int side = 1;
  nodes[r].kid[0] = nodes[r].kid[1] = NIL;
  // The best match so far as one number, its length above its nearness, so that a longer match
  // wins and among equally long ones the nearest. Kept free of branches: which node beats which
  // is as unpredictable as the walk itself.
  int best = 0;
  // Bytes 1..4 of the key as one big-endian number: one comparison with a child's head gives
  // both the first differing byte and the direction to turn, which keeps each step short.
  const uint32_t head = Head(r);
  for (;;) {
    const int next = nodes[p].kid[side];
    const uint32_t nextHead = nodes[p].kidHead[side];
    if (next == NIL) {
      Link(p, side, r);
      t_.dad[r] = static_cast<int16_t>(p);
      break;
    }
    p = next;
    int i;
    if (head != nextHead) {
      i = 1 + (__builtin_clz(head ^ nextHead) >> 3);
      side = head > nextHead;
    } else {
      // Index of the first differing byte among 5..59, or F when they all agree.
      const uint8_t* other = &t_.ring[p];
      i = 5;
      for (;;) {
        const uint64_t a = LoadBigEndian64(key + i);
        const uint64_t b = LoadBigEndian64(other + i);
        if (a != b) {
          i += __builtin_clzll(a ^ b) >> 3;
          side = a > b;
          break;
        }
        i += 8;
        if (i >= F) break;
      }
      if (i >= F) {
        ReplaceNode(p, r);
        best = MatchScore(F, r, p);
        break;
      }
    }
    const int score = MatchScore(i, r, p);
    best = i > THRESHOLD && score > best ? score : best;
  }
  matchLength_ = best >> 13;
  matchPosition_ = N - 1 - (best & (N * 2 - 1));
}

// r has the same 59 bytes after its first as p: r takes p's place in the tree.
void LzhRun::ReplaceNode(int p, int r) {
  TLZH::Tables::Node* nodes = t_.nodes;
  int16_t* dad = t_.dad;
  dad[r] = dad[p];
  CopyLink(r, 0, p, 0);
  CopyLink(r, 1, p, 1);
  dad[nodes[p].kid[0]] = static_cast<int16_t>(r);
  dad[nodes[p].kid[1]] = static_cast<int16_t>(r);
  Link(dad[p], nodes[dad[p]].kid[1] == p, r);
  dad[p] = NIL;
}

void LzhRun::DeleteNode(int p) {
  TLZH::Tables::Node* nodes = t_.nodes;
  int16_t* dad = t_.dad;
  if (dad[p] == NIL) return;
  int q;
  if (nodes[p].kid[1] == NIL) {
    q = nodes[p].kid[0];
  } else if (nodes[p].kid[0] == NIL) {
    q = nodes[p].kid[1];
  } else {
    q = nodes[p].kid[0];
    if (nodes[q].kid[1] != NIL) {
      do q = nodes[q].kid[1];
      while (nodes[q].kid[1] != NIL);
      CopyLink(dad[q], 1, q, 0);
      dad[nodes[q].kid[0]] = dad[q];
      CopyLink(q, 0, p, 0);
      dad[nodes[p].kid[0]] = static_cast<int16_t>(q);
    }
    CopyLink(q, 1, p, 1);
    dad[nodes[p].kid[1]] = static_cast<int16_t>(q);
  }
  dad[q] = dad[p];
  Link(dad[p], nodes[dad[p]].kid[1] == p, q);
  dad[p] = NIL;
}

int32_t LzhRun::Encode(LzhByteSource& source, LzhByteSink& sink) {
  LzhBitWriter out(sink);
  uint8_t* ring = t_.ring;
  StartHuff();
  InitTree();
  int s = 0;
  int r = kRingFill;
  std::memset(ring, ' ', kRingFill);
  int len = 0;
  for (uint8_t byte; len < F && source.Next(byte); ++len) ring[r + len] = byte;
  int32_t consumed = len;
  for (int i = 1; i <= F; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (matchLength_ > len) matchLength_ = len;
    if (matchLength_ <= THRESHOLD) {
      matchLength_ = 1;
      EncodeChar(out, ring[r]);
    } else {
      EncodeChar(out, 255 - THRESHOLD + matchLength_);
      EncodePosition(out, static_cast<unsigned>(matchPosition_));
    }
    const int last = matchLength_;
    int i = 0;
    for (uint8_t byte; i < last && source.Next(byte); ++i) {
      DeleteNode(s);
      ring[s] = byte;
      if (s < F - 1) ring[s + N] = byte;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    consumed += i;
    for (; i < last; ++i) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  out.Finish();
  return consumed;
}

bool LzhRun::Decode(int32_t size, LzhByteSource& source, LzhByteSink& sink, bool stopOnOverrun) {
  LzhBitReader in(source);
  uint8_t* ring = t_.ring;
  StartHuff();
  std::memset(ring, ' ', kRingFill);
  unsigned r = kRingFill;
  for (int32_t count = 0; count < size;) {
    const int c = DecodeChar(in);
    if (c < 256) {
      sink.Put(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++count;
    } else {
      const unsigned from = (r - DecodePosition(in) - 1) & (N - 1);
      const int length = c - 255 + THRESHOLD;
      for (int k = 0; k < length; ++k) {
        const uint8_t byte = ring[(from + k) & (N - 1)];
        sink.Put(byte);
        ring[r] = byte;
        r = (r + 1) & (N - 1);
      }
      count += length;
    }
    if (stopOnOverrun && in.Overran()) return false;
  }
  return true;
}

// Adapters from the one-byte callbacks to the inline windows.
class CallbackSource : public LzhByteSource {
 public:
  explicit CallbackSource(const TByteReader& reader) : reader_(reader) {}

 protected:
  bool Refill() override {
    uint16_t actual = 0;
    reader_(&byte_, 1, actual);
    if (actual != 1) return false;
    cur_ = &byte_;
    end_ = &byte_ + 1;
    return true;
  }

 private:
  const TByteReader& reader_;
  uint8_t byte_ = 0;
};

class CallbackSink : public LzhByteSink {
 public:
  explicit CallbackSink(const TByteWriter& writer) : writer_(writer) {}

  void Finish() {
    if (cur_ == &byte_ + 1) {
      uint16_t actual = 0;
      writer_(&byte_, 1, actual);
    }
    cur_ = end_ = &byte_;
  }

 protected:
  void Drain() override {
    Finish();
    end_ = &byte_ + 1;
  }

 private:
  const TByteWriter& writer_;
  uint8_t byte_ = 0;
};

}  // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocateTables() {
  // Zeroed on purpose: ring bytes the run has not written yet read as 0, which decides the
  // literal sent for empty input and ties near the end of the data.
  tables_.reset(new (std::nothrow) Tables());
  if (!tables_) throw ElzhException("LZH : Cannot get memory for dictionary tables");
}

void TLZH::ReleaseTables() {
  tables_.reset();
}

int32_t TLZH::Encode(LzhByteSource& source, LzhByteSink& sink) {
  AllocateTables();
  consumed_ = 0;
  struct Release {
    TLZH* self;
    ~Release() { self->ReleaseTables(); }
  } release{this};
  consumed_ = LzhRun(*tables_).Encode(source, sink);
  return consumed_;
}

bool TLZH::Decode(int32_t size, LzhByteSource& source, LzhByteSink& sink, bool stopOnOverrun) {
  AllocateTables();
  struct Release {
    TLZH* self;
    ~Release() { self->ReleaseTables(); }
  } release{this};
  return LzhRun(*tables_).Decode(size, source, sink, stopOnOverrun);
}

int32_t TLZH::Encode(int32_t& consumed, const TByteReader& reader, const TByteWriter& writer) {
  CallbackSource source(reader);
  CallbackSink sink(writer);
  consumed = Encode(source, sink);
  sink.Finish();
  return consumed;
}

void TLZH::Decode(int32_t size, const TByteReader& reader, const TByteWriter& writer) {
  CallbackSource source(reader);
  CallbackSink sink(writer);
  Decode(size, source, sink, false);
  sink.Finish();
}

}  // namespace tovak
