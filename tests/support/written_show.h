#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "common/byte_order.h"

namespace tovak::testing {

// A package written record by record, without the builder: shows of thousands of pictures in
// an instant, and records of any stated size. A message of holeSize bytes for picture holeAt is
// left as a hole in the file, so a record of gigabytes costs no disk and no time to write.
inline void WriteShow(const std::string& path, int count, const std::vector<uint8_t>& image,
                      const std::vector<uint8_t>& message, int holeAt = -1, int64_t holeSize = 0) {
  const std::vector<uint8_t> noVoice = {0x21, 0x48, 0x5A, 0x4C, 0, 0, 0, 0, 0xC6, 0};
  std::ofstream out(path, std::ios::binary);
  std::vector<uint8_t> engine(1000, 0x90);
  engine[0] = 0x7F;
  out.write(reinterpret_cast<const char*>(engine.data()), 1000);
  int64_t at = 1000;
  std::vector<uint8_t> index;
  auto record = [&](const std::vector<uint8_t>& bytes, int64_t hole) {
    uint8_t pair[8];
    PutLe32(pair, static_cast<uint32_t>(at));
    PutLe32(pair + 4, static_cast<uint32_t>(hole > 0 ? hole : static_cast<int64_t>(bytes.size())));
    index.insert(index.end(), pair, pair + 8);
    if (hole > 0) {
      out.seekp(hole, std::ios::cur);
      at += hole;
    } else {
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
      at += static_cast<int64_t>(bytes.size());
    }
  };
  for (int i = 0; i < count; ++i) {
    record(image, 0);
    record(noVoice, 0);
    record(message, i == holeAt ? holeSize : 0);
  }
  record({}, 0);  // no link menu
  uint8_t trailer[16] = {};
  PutLe32(trailer + 4, static_cast<uint32_t>(count));
  PutLe32(trailer + 8, 3);
  trailer[12] = 1;
  index.insert(index.end(), trailer, trailer + 16);
  out.write(reinterpret_cast<const char*>(index.data()),
            static_cast<std::streamsize>(index.size()));
}

}  // namespace tovak::testing
