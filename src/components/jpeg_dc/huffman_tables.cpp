#include "components/jpeg_dc/huffman_tables.h"

#include <cstring>

namespace tovak::jpeg_dc::detail {

bool Code::Build(const RawTable& raw) {
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

bool DcTable::Build(const RawTable& raw) {
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

bool AcTable::Build(const RawTable& raw) {
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
      entry = (entry & 0xFFFF0000u) | (entry & kEndOfBlock) | uint32_t(used) | uint32_t(step) << 6;
    }
    fast[i] = entry;
  }
  return true;
}

}  // namespace tovak::jpeg_dc::detail
