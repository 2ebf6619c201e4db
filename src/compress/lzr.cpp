#include "compress/lzr.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <new>

#include "common/byte_order.h"
#include "compress/compress_errors.h"

namespace tovak {

namespace {

constexpr int kMinCopy = 3;
constexpr int kMaxCopy = 18;
constexpr int kWindow = 4096;
constexpr int kMinRun = 16;
constexpr int kMaxRun = 4095;
// What a decoder accepts as a run: the length's top four bits must be clear, or the item would
// read as a copy.
constexpr int kLongestDecodedRun = 0x0FFF + kMinRun;
constexpr int kGroup = 16;
constexpr uint8_t kCoded = 0x40;
constexpr uint8_t kStored = 0x80;

static_assert(TLZR::kShortestFullBlock ==
              3 + 4 * ((TLZR::kMaxBlock + kLongestDecodedRun - 1) / kLongestDecodedRun));

constexpr uint64_t kEveryByte = 0x0101010101010101ull;

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Index of the first differing byte in memory order; diff must be non-zero.
inline int FirstDifferentByte(uint64_t diff) {
  if constexpr (std::endian::native == std::endian::little) {
    return std::countr_zero(diff) >> 3;
  } else {
    return std::countl_zero(diff) >> 3;
  }
}

inline unsigned Hash(const uint8_t* p) {
  // The product overflows 16 bits, but only bits 4..15 are kept, so unsigned 32-bit arithmetic
  // gives the same value as the historical 16-bit one.
  return ((((((unsigned{p[0]} << 4) ^ p[1]) << 4) ^ p[2]) * 40543u) >> 4) & 0xFFFu;
}

// Bytes of a 64-bit word that hold its first three bytes in memory order.
constexpr uint64_t kFirstThreeBytes =
    std::endian::native == std::endian::little ? 0xFFFFFFull : 0xFFFFFF0000000000ull;

// Length of the common prefix of a and b, capped at 10; both must have 10 readable bytes.
inline int MatchLength10(const uint8_t* a, const uint8_t* b) {
  const uint64_t diff = Load64(a) ^ Load64(b);
  if (diff != 0) return FirstDifferentByte(diff);
  if (a[8] != b[8]) return 8;
  return a[9] != b[9] ? 9 : 10;
}

constexpr int kHashBatch = 256;

// Hashes of the count positions from p on, p[count + 1] being the last byte read. In 16 bits the
// product keeps the bits that count, and the loop vectorises.
template <int kCount>
inline void HashBatch(const uint8_t* p, uint16_t* out, int count = kCount) {
  for (int i = 0; i < (kCount > 0 ? kCount : count); ++i) {
    const auto mixed = static_cast<uint16_t>((p[i] << 8) ^ (p[i + 1] << 4) ^ p[i + 2]);
    out[i] = static_cast<uint16_t>(static_cast<uint16_t>(mixed * 40543u) >> 4);
  }
}

// Length of the run of p[0] starting at p, knowing that the first `known` bytes already belong to
// it, and reading no further than p[limit - 1].
inline int RunLength(const uint8_t* p, int known, int limit) {
  const uint64_t pattern = p[0] * kEveryByte;
  int size = known;
  while (size + 8 <= limit) {
    const uint64_t diff = Load64(p + size) ^ pattern;
    if (diff != 0) return size + FirstDifferentByte(diff);
    size += 8;
  }
  while (size < limit && p[size] == p[0]) ++size;
  return size;
}

inline void PutRun(uint8_t* out, int run, uint8_t value) {
  out[0] = 0;
  PutBe16(out + 1, static_cast<uint16_t>(run - kMinRun));
  out[3] = value;
}

[[noreturn]] void Damaged(const char* why) {
  throw ELzrw1Exception(std::string("Lzrw1 : damaged LZRW1/KH block (") + why + ") !");
}

}  // namespace

TLZR::TLZR() : HashTable(new (std::nothrow) int16_t[kHashSize]) {
  if (!HashTable) throw ELzrw1KHCompressor("LZRW1KH : no memory for HASH table");
}

TLZR::~TLZR() = default;

uint16_t TLZR::CompressBlock(const uint8_t* source, uint8_t* destination, uint32_t n) {
  assert(n <= kMaxBlock);
  int16_t* const table = HashTable.get();
  std::fill_n(table, kHashSize, int16_t{-1});

  const int end = static_cast<int>(n);
  destination[0] = kCoded;
  int x = 0;
  int y = 3;
  int z = 1;
  int items = 0;
  uint32_t control = 0;

  // Up to wideEnd every position has kMaxCopy bytes ahead of it, so the run test, the hash and
  // the match comparison may load whole words without looking at the end of the block. The hashes
  // are worked out a batch at a time ahead of the coder: that shortens the chain of dependent
  // loads between one coding decision and the next.
  const int wideEnd = end - kMaxCopy;
  uint16_t hashes[kHashBatch];
  int batchStart = 0;
  int batchEnd = 0;
  while (x <= wideEnd && y <= end) {
    if (items == kGroup) {
      PutBe16(destination + z, static_cast<uint16_t>(control));
      z = y;
      y += 2;
      items = 0;
    }
    ++items;
    control <<= 1;
    const uint8_t* const p = source + x;
    const uint64_t head = Load64(p);

    const uint64_t pattern = p[0] * kEveryByte;
    if (head == pattern && Load64(p + 8) == pattern) {
      const int run = RunLength(p, kMinRun, std::min(kMaxRun, end - x));
      PutRun(destination + y, run, p[0]);
      y += 4;
      x += run;
      control |= 1;
      continue;
    }

    if (x >= batchEnd) {
      batchStart = x;
      batchEnd = x + kHashBatch;
      if (batchEnd <= wideEnd + 1) {
        // A fixed count lets the compiler vectorise this even where it only does so for loops
        // of known length.
        HashBatch<kHashBatch>(p, hashes);
      } else {
        batchEnd = wideEnd + 1;
        HashBatch<0>(p, hashes, batchEnd - x);
      }
    }
    const unsigned h = hashes[x - batchStart];
    const int q = table[h];
    table[h] = static_cast<int16_t>(x);
    if (q >= 0 && x - q < kWindow) {
      const uint64_t diff = head ^ Load64(source + q);
      if ((diff & kFirstThreeBytes) == 0) {
        const int match =
            diff != 0 ? FirstDifferentByte(diff) : 8 + MatchLength10(p + 8, source + q + 8);
        const int key = ((x - q) << 4) | (match - kMinCopy);
        PutBe16(destination + y, static_cast<uint16_t>(key));
        y += 2;
        x += match;
        control |= 1;
        continue;
      }
    }
    destination[y++] = p[0];
    ++x;
  }

  // The last few positions: the same decisions, with every read checked against the end.
  while (x < end && y <= end) {
    if (items == kGroup) {
      PutBe16(destination + z, static_cast<uint16_t>(control));
      z = y;
      y += 2;
      items = 0;
    }
    ++items;
    control <<= 1;
    const uint8_t* const p = source + x;
    const int left = end - x;
    const int run = RunLength(p, 1, std::min(kMaxRun, left));
    if (run >= kMinRun) {
      PutRun(destination + y, run, p[0]);
      y += 4;
      x += run;
      control |= 1;
      continue;
    }
    // With fewer than kMinCopy bytes left no match is possible, and no later position can use
    // what this one would enter in the table, so it need not hash bytes past the end.
    int match = 0;
    int distance = 0;
    if (left >= kMinCopy) {
      const unsigned h = Hash(p);
      const int q = table[h];
      table[h] = static_cast<int16_t>(x);
      if (q >= 0 && x - q < kWindow) {
        const uint8_t* const r = source + q;
        const int limit = std::min(kMaxCopy, left);
        while (match < limit && p[match] == r[match]) ++match;
        distance = x - q;
      }
    }
    if (match >= kMinCopy) {
      const int key = (distance << 4) | (match - kMinCopy);
      PutBe16(destination + y, static_cast<uint16_t>(key));
      y += 2;
      x += match;
      control |= 1;
    } else {
      destination[y++] = p[0];
      ++x;
    }
  }

  // The unused low bits of the last word stay zero.
  control <<= kGroup - items;
  PutBe16(destination + z, static_cast<uint16_t>(control));

  if (y > end) {
    if (n > 0) std::memmove(destination + 1, source, n);
    destination[0] = kStored;
    y = end + 1;
  }
  return static_cast<uint16_t>(y);
}

uint32_t TLZR::DecompressBlock(const uint8_t* source, uint8_t* destination, uint32_t L) {
  if (L <= 1) return 0;
  if (source[0] == kStored) {
    if (L - 1 > kMaxBlock) Damaged("stored block longer than 32768 bytes");
    std::memmove(destination, source + 1, L - 1);
    return L - 1;
  }
  if (L > 0xFFFF) Damaged("block longer than its length field allows");
  const int end = static_cast<int>(L);
  if (end < 3) Damaged("control word cut off");

  // The control word sits in the top 16 bits with a marker bit just below it; once 16 items have
  // shifted it out, the marker alone is left at the top and the next word is due. A run of zero
  // bits (literals) can then be measured with a single count of leading zeros, which stops at the
  // marker at the latest.
  constexpr uint32_t kMarker = 0x8000u;
  constexpr uint32_t kTop = 0x80000000u;
  uint32_t control = (uint32_t{GetBe16(source + 1)} << 16) | kMarker;
  int x = 3;
  int y = 0;

  // Away from both ends nothing can run out: up to 16 literals and a copy fit in what is left of
  // the block and of the destination, so most checks go, and a stretch of literals followed by a
  // copy or run is handled in one step without a branch on how many literals there were.
  constexpr int kInputMargin = 16 + 4;
  constexpr int kOutputMargin = 16 + 24;
  while (true) {
    if (control == kTop) {
      if (end - x < 3) break;
      control = (uint32_t{GetBe16(source + x)} << 16) | kMarker;
      x += 2;
    }
    if (end - x < kInputMargin || kMaxBlock - y < kOutputMargin) break;

    // Copying a whole 16 bytes is cheaper than an exact count; the surplus lands beyond the output
    // written so far and is overwritten by what follows.
    const int literals = std::countl_zero(control);
    std::memcpy(destination + y, source + x, 16);
    x += literals;
    y += literals;
    control <<= literals;
    if (control == kTop) continue;

    control <<= 1;
    const int distance = GetBe16(source + x) >> 4;
    if (distance == 0) {
      const int count = GetBe16(source + x + 1) + kMinRun;
      if (count > kMaxBlock - y) Damaged("more than 32768 bytes of output");
      std::memset(destination + y, source[x + 3], static_cast<size_t>(count));
      x += 4;
      y += count;
      continue;
    }
    if (distance > y) Damaged("copy reaches before the start of the block");
    const int count = (source[x + 1] & 0x0F) + kMinCopy;
    uint8_t* const out = destination + y;
    const uint8_t* const from = out - distance;
    if (distance >= 8) {
      // Eight bytes at a time behave like the byte-by-byte copy as long as each piece only reads
      // what earlier pieces have finished writing, which a distance of 8 or more guarantees.
      std::memcpy(out, from, 8);
      std::memcpy(out + 8, from + 8, 8);
      if (count > 16) std::memcpy(out + 16, from + 16, 8);
    } else {
      for (int k = 0; k < count; ++k) out[k] = from[k];
    }
    x += 2;
    y += count;
  }

  // Near the ends, one item at a time with every check.
  while (x < end) {
    if (control == kTop) {
      // A control word with no item after it is as damaged as one cut in half.
      if (end - x < 3) Damaged("control word cut off");
      control = (uint32_t{GetBe16(source + x)} << 16) | kMarker;
      x += 2;
    }

    if ((control & kTop) == 0) {
      // The unused bits of the last word read as literals too; the end of the block stops them.
      const int literals = std::min(std::countl_zero(control), end - x);
      if (literals > kMaxBlock - y) Damaged("more than 32768 bytes of output");
      if (end - x >= 16 && kMaxBlock - y >= 16) {
        std::memcpy(destination + y, source + x, 16);
      } else {
        std::memcpy(destination + y, source + x, static_cast<size_t>(literals));
      }
      x += literals;
      y += literals;
      control <<= literals;
      continue;
    }

    control <<= 1;
    if (end - x < 2) Damaged("item cut off");
    const int distance = GetBe16(source + x) >> 4;
    if (distance == 0) {
      if (end - x < 4) Damaged("run cut off");
      const int count = GetBe16(source + x + 1) + kMinRun;
      if (count > kMaxBlock - y) Damaged("more than 32768 bytes of output");
      std::memset(destination + y, source[x + 3], static_cast<size_t>(count));
      x += 4;
      y += count;
      continue;
    }

    const int count = (source[x + 1] & 0x0F) + kMinCopy;
    if (distance > y) Damaged("copy reaches before the start of the block");
    if (count > kMaxBlock - y) Damaged("more than 32768 bytes of output");
    uint8_t* const out = destination + y;
    const uint8_t* const from = out - distance;
    if (distance >= 8 && kMaxBlock - y >= 24) {
      std::memcpy(out, from, 8);
      std::memcpy(out + 8, from + 8, 8);
      if (count > 16) std::memcpy(out + 16, from + 16, 8);
    } else if (distance >= count) {
      std::memcpy(out, from, static_cast<size_t>(count));
    } else if (distance == 1) {
      std::memset(out, *from, static_cast<size_t>(count));
    } else {
      // An overlapping copy repeats the bytes it has just written.
      for (int k = 0; k < count; ++k) out[k] = from[k];
    }
    x += 2;
    y += count;
  }
  return static_cast<uint32_t>(y);
}

}  // namespace tovak
