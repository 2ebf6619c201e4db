#include "support/lzr_reference.h"

#include <cstring>

namespace tovak::reference {

bool Lzrw1KH::GetMatch(const uint8_t* source, uint16_t x, uint16_t n, uint16_t* size,
                       int16_t* pos) {
  const uint16_t hash =
      (40543u * ((((source[x] << 4) ^ source[x + 1]) << 4) ^ source[x + 2]) >> 4) & 0xFFF;
  *pos = hash_table_[hash];
  hash_table_[hash] = static_cast<int16_t>(x);
  if (*pos != -1 && x - *pos < 4096) {
    for (*size = 0; *size < 18 && source[x + *size] == source[*pos + *size] && x + *size < n;
         ++*size) {
    }
    return *size >= 3;
  }
  return false;
}

uint16_t Lzrw1KH::CompressBlock(const uint8_t* source, uint8_t* destination, uint16_t n) {
  std::memset(hash_table_, 0xFF, sizeof(hash_table_));
  destination[0] = 0x40;
  uint16_t x = 0;
  uint16_t y = 3;
  uint16_t z = 1;
  uint8_t bit = 0;
  uint16_t command = 0;
  uint16_t size = 0;
  int16_t pos = 0;
  while (x < n && y <= n) {
    if (bit > 15) {
      destination[z] = static_cast<uint8_t>(command >> 8);
      destination[z + 1] = static_cast<uint8_t>(command);
      z = y;
      bit = 0;
      y += 2;
    }
    size = 1;
    while (source[x] == source[x + size] && size < 4095 && x + size < n) ++size;
    if (size >= 16) {
      destination[y] = 0;
      destination[y + 1] = static_cast<uint8_t>((size - 16) >> 8);
      destination[y + 2] = static_cast<uint8_t>(size - 16);
      destination[y + 3] = source[x];
      y += 4;
      x += size;
      command = static_cast<uint16_t>((command << 1) + 1);
    } else if (GetMatch(source, x, n, &size, &pos)) {
      const uint16_t key = static_cast<uint16_t>(((x - pos) << 4) + (size - 3));
      destination[y] = static_cast<uint8_t>(key >> 8);
      destination[y + 1] = static_cast<uint8_t>(key);
      y += 2;
      x += size;
      command = static_cast<uint16_t>((command << 1) + 1);
    } else {
      destination[y++] = source[x++];
      command = static_cast<uint16_t>(command << 1);
    }
    ++bit;
  }
  command = static_cast<uint16_t>(command << (16 - bit));
  destination[z] = static_cast<uint8_t>(command >> 8);
  destination[z + 1] = static_cast<uint8_t>(command);
  if (y > n) {
    std::memmove(destination + 1, source, n);
    destination[0] = 0x80;
    y = n + 1;
  }
  return y;
}

uint16_t Lzrw1KH::DecompressBlock(const uint8_t* source, uint8_t* destination, uint16_t L) {
  if (L <= 1) return 0;
  if (source[0] == 0x80) {
    std::memmove(destination, source + 1, L - 1);
    return L - 1;
  }
  uint16_t x = 3;
  uint16_t y = 0;
  uint16_t command = static_cast<uint16_t>((source[1] << 8) + source[2]);
  uint8_t bit = 16;
  while (x < L) {
    if (bit == 0) {
      command = static_cast<uint16_t>((source[x] << 8) + source[x + 1]);
      x += 2;
      bit = 16;
    }
    if ((command & 0x8000) == 0) {
      destination[y++] = source[x++];
    } else {
      uint16_t pos = static_cast<uint16_t>((source[x] << 4) + (source[x + 1] >> 4));
      if (pos == 0) {
        const uint16_t size = static_cast<uint16_t>((source[x + 1] << 8) + source[x + 2] + 16);
        for (uint16_t k = 0; k < size; ++k) destination[y + k] = source[x + 3];
        x += 4;
        y += size;
      } else {
        const uint16_t size = static_cast<uint16_t>((source[x + 1] & 0x0F) + 3);
        for (uint16_t k = 0; k < size; ++k) destination[y + k] = destination[y - pos + k];
        x += 2;
        y += size;
      }
    }
    command = static_cast<uint16_t>(command << 1);
    --bit;
  }
  return y;
}

}  // namespace tovak::reference
