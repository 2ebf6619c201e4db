#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovak::testing {

// PackBits run-length coding, as Photoshop stores compressed rows.
inline std::vector<uint8_t> PackBits(const uint8_t* row, size_t n) {
  std::vector<uint8_t> out;
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(1 - int(run)));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    const size_t start = i;
    while (i < n && i - start < 128 && !(i + 1 < n && row[i] == row[i + 1])) ++i;
    out.push_back(uint8_t(i - start - 1));
    out.insert(out.end(), row + start, row + i);
  }
  return out;
}

}  // namespace tovak::testing
