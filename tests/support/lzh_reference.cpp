#include "support/lzh_reference.h"

#include <cstring>
#include <memory>

namespace tovak::reference {

namespace {

constexpr int N = 4096, F = 60, THRESHOLD = 2, NIL = N;
constexpr int N_CHAR = 256 - THRESHOLD + F, T = N_CHAR * 2 - 1, R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

const uint8_t p_len[64] = {
    0x03, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};

const uint8_t p_code[64] = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

struct Coder {
  // Zeroed like fresh tables.
  uint8_t text_buf[N + F - 1] = {};
  int16_t lson[N + 1] = {}, rson[N + 257] = {}, dad[N + 1] = {};
  uint16_t freq[T + 1] = {};
  int16_t prnt[T + N_CHAR] = {};
  int16_t son[T] = {};
  int match_position = 0, match_length = 0;

  const std::vector<uint8_t>* in = nullptr;
  size_t in_pos = 0;
  std::vector<uint8_t> out;
  unsigned getbuf = 0;  // 16-bit register
  int getlen = 0;
  unsigned putbuf = 0;  // 16-bit register
  int putlen = 0;

  int getc() { return in_pos < in->size() ? (*in)[in_pos++] : -1; }

  void InitTree() {
    for (int i = N + 1; i <= N + 256; i++) rson[i] = NIL;
    for (int i = 0; i < N; i++) dad[i] = NIL;
  }

  void InsertNode(int r) {
    int cmp = 1;
    uint8_t* key = &text_buf[r];
    int p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    match_length = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson[p] != NIL) {
          p = rson[p];
        } else {
          rson[p] = r;
          dad[r] = p;
          return;
        }
      } else {
        if (lson[p] != NIL) {
          p = lson[p];
        } else {
          lson[p] = r;
          dad[r] = p;
          return;
        }
      }
      int i;
      for (i = 1; i < F; i++)
        if ((cmp = key[i] - text_buf[p + i]) != 0) break;
      if (i > THRESHOLD) {
        if (i > match_length) {
          match_position = ((r - p) & (N - 1)) - 1;
          if ((match_length = i) >= F) break;
        }
        if (i == match_length) {
          int c = ((r - p) & (N - 1)) - 1;
          if (c < match_position) match_position = c;
        }
      }
    }
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = r;
    dad[rson[p]] = r;
    if (rson[dad[p]] == p)
      rson[dad[p]] = r;
    else
      lson[dad[p]] = r;
    dad[p] = NIL;
  }

  void DeleteNode(int p) {
    int q;
    if (dad[p] == NIL) return;
    if (rson[p] == NIL)
      q = lson[p];
    else if (lson[p] == NIL)
      q = rson[p];
    else {
      q = lson[p];
      if (rson[q] != NIL) {
        do {
          q = rson[q];
        } while (rson[q] != NIL);
        rson[dad[q]] = lson[q];
        dad[lson[q]] = dad[q];
        lson[q] = lson[p];
        dad[lson[p]] = q;
      }
      rson[q] = rson[p];
      dad[rson[p]] = q;
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p)
      rson[dad[p]] = q;
    else
      lson[dad[p]] = q;
    dad[p] = NIL;
  }

  int GetBit() {
    while (getlen <= 8) {
      int i = getc();
      if (i < 0) i = 0;
      getbuf = (getbuf | (unsigned(i) << (8 - getlen))) & 0xFFFF;
      getlen += 8;
    }
    unsigned i = getbuf;
    getbuf = (getbuf << 1) & 0xFFFF;
    getlen--;
    return (i & 0x8000) ? 1 : 0;
  }

  int GetByte() {
    while (getlen <= 8) {
      int i = getc();
      if (i < 0) i = 0;
      getbuf = (getbuf | (unsigned(i) << (8 - getlen))) & 0xFFFF;
      getlen += 8;
    }
    unsigned i = getbuf;
    getbuf = (getbuf << 8) & 0xFFFF;
    getlen -= 8;
    return int(i >> 8);
  }

  // Codes of up to 16 bits at a time, as the classic register allows.
  void Putcode16(int l, unsigned c) {
    putbuf = (putbuf | (c >> putlen)) & 0xFFFF;
    if ((putlen += l) >= 8) {
      out.push_back(uint8_t(putbuf >> 8));
      if ((putlen -= 8) >= 8) {
        out.push_back(uint8_t(putbuf));
        putlen -= 8;
        putbuf = (c << (l - putlen)) & 0xFFFF;
      } else {
        putbuf = (putbuf << 8) & 0xFFFF;
      }
    }
  }

  void StartHuff() {
    for (int i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    int i = 0, j = N_CHAR;
    while (j <= R) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
      i += 2;
      j++;
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
  }

  void reconst() {
    int j = 0;
    for (int i = 0; i < T; i++) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        j++;
      }
    }
    for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, j2++) {
      int k = i + 1;
      unsigned f = freq[j2] = freq[i] + freq[k];
      for (k = j2 - 1; f < freq[k]; k--) {
      }
      k++;
      int l = (j2 - k) * 2;
      memmove(&freq[k + 1], &freq[k], l);
      freq[k] = f;
      memmove(&son[k + 1], &son[k], l);
      son[k] = i;
    }
    for (int i = 0; i < T; i++) {
      int k = son[i];
      if (k >= T)
        prnt[k] = i;
      else
        prnt[k] = prnt[k + 1] = i;
    }
  }

  void update(int c) {
    if (freq[R] == MAX_FREQ) reconst();
    c = prnt[c + T];
    do {
      unsigned k = ++freq[c];
      int l;
      if (k > freq[l = c + 1]) {
        while (k > freq[++l]) {
        }
        l--;
        freq[c] = freq[l];
        freq[l] = k;
        int i = son[c];
        prnt[i] = l;
        if (i < T) prnt[i + 1] = l;
        int j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < T) prnt[j + 1] = c;
        son[c] = j;
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }

  void EncodeChar(unsigned c) {
    // The code is gathered in a wide register and sent 16 bits at a time, so deep trees keep
    // every bit.
    uint64_t code = 0;
    int length = 0;
    int k = prnt[c + T];
    do {
      code |= uint64_t(k & 1) << length;
      length++;
    } while ((k = prnt[k]) != R);
    while (length > 0) {
      const int piece = length > 16 ? 16 : length;
      const unsigned bits = unsigned(code >> (length - piece)) & ((1u << piece) - 1);
      Putcode16(piece, bits << (16 - piece));
      length -= piece;
    }
    update(c);
  }

  void EncodePosition(unsigned c) {
    unsigned i = c >> 6;
    Putcode16(p_len[i], unsigned(p_code[i]) << 8);
    Putcode16(6, (c & 0x3f) << 10);
  }

  int DecodeChar() {
    unsigned c = son[R];
    while (c < T) {
      c += GetBit();
      c = son[c];
    }
    c -= T;
    update(c);
    return int(c);
  }

  int DecodePosition() {
    unsigned i = GetByte();
    unsigned j = p_len[0];
    // The byte's prefix decides the value and its length.
    unsigned v = 0;
    for (v = 0; v < 64; v++) {
      j = p_len[v];
      if ((i >> (8 - j)) == unsigned(p_code[v] >> (8 - j))) break;
    }
    unsigned c = v << 6;
    j -= 2;
    while (j--) i = (i << 1) + GetBit();
    return int(c | (i & 0x3f));
  }
};

}  // namespace

std::vector<uint8_t> LzhEncode(const std::vector<uint8_t>& input) {
  auto coder = std::make_unique<Coder>();
  Coder& z = *coder;
  z.in = &input;
  z.StartHuff();
  z.InitTree();
  int s = 0, r = N - F;
  for (int i = s; i < r; i++) z.text_buf[i] = ' ';
  int len, c;
  for (len = 0; len < F && (c = z.getc()) != -1; len++) z.text_buf[r + len] = uint8_t(c);
  for (int i = 1; i <= F; i++) z.InsertNode(r - i);
  z.InsertNode(r);
  do {
    if (z.match_length > len) z.match_length = len;
    if (z.match_length <= THRESHOLD) {
      z.match_length = 1;
      z.EncodeChar(z.text_buf[r]);
    } else {
      z.EncodeChar(255 - THRESHOLD + z.match_length);
      z.EncodePosition(z.match_position);
    }
    int last_match_length = z.match_length;
    int i;
    for (i = 0; i < last_match_length && (c = z.getc()) != -1; i++) {
      z.DeleteNode(s);
      z.text_buf[s] = uint8_t(c);
      if (s < F - 1) z.text_buf[s + N] = uint8_t(c);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      z.InsertNode(r);
    }
    while (i++ < last_match_length) {
      z.DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) z.InsertNode(r);
    }
  } while (len > 0);
  if (z.putlen) z.out.push_back(uint8_t(z.putbuf >> 8));
  return std::move(z.out);
}

std::vector<uint8_t> LzhDecode(const std::vector<uint8_t>& input, int32_t size) {
  auto coder = std::make_unique<Coder>();
  Coder& z = *coder;
  z.in = &input;
  z.StartHuff();
  for (int i = 0; i < N - F; i++) z.text_buf[i] = ' ';
  int r = N - F;
  for (int32_t count = 0; count < size;) {
    int c = z.DecodeChar();
    if (c < 256) {
      z.out.push_back(uint8_t(c));
      z.text_buf[r++] = uint8_t(c);
      r &= (N - 1);
      count++;
    } else {
      int i = (r - z.DecodePosition() - 1) & (N - 1);
      int j = c - 255 + THRESHOLD;
      for (int k = 0; k < j; k++) {
        c = z.text_buf[(i + k) & (N - 1)];
        z.out.push_back(uint8_t(c));
        z.text_buf[r++] = uint8_t(c);
        r &= (N - 1);
        count++;
      }
    }
  }
  return std::move(z.out);
}

}  // namespace tovak::reference
