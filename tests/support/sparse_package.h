#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "common/byte_order.h"

namespace tovak::testing {

// Writes package to path with its record k (in index order: three per picture, then the link
// menu) grown to size bytes: start, then a hole. A record of gigabytes so costs neither disk nor
// time to write, and the index stays consistent, as a forger would keep it.
inline void WriteInflatedPackage(const std::vector<uint8_t>& package, size_t k, int64_t size,
                                 const std::vector<uint8_t>& start, const std::string& path) {
  const size_t end = package.size();
  const size_t records = 3 * size_t{GetLe32(&package[end - 12])} + 1;
  const size_t table = end - 16 - 8 * records;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto write = [&](const uint8_t* bytes, size_t count) {
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
  };
  std::vector<uint8_t> index;
  int64_t at = GetLe32(&package[table]);
  write(package.data(), static_cast<size_t>(at));
  for (size_t r = 0; r < records; ++r) {
    const uint32_t offset = GetLe32(&package[table + 8 * r]);
    const uint32_t length = GetLe32(&package[table + 8 * r + 4]);
    const int64_t grown = r == k ? size : length;
    uint8_t entry[8];
    PutLe32(entry, static_cast<uint32_t>(at));
    PutLe32(entry + 4, static_cast<uint32_t>(grown));
    index.insert(index.end(), entry, entry + 8);
    out.seekp(at);
    if (r == k) {
      write(start.data(), start.size());
    } else {
      write(&package[offset], length);
    }
    at += grown;
  }
  out.seekp(at);
  write(index.data(), index.size());
  write(&package[end - 16], 16);
}

// The peak of this process's resident memory in bytes since the last ResetPeakMemory.
inline int64_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}
inline void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace tovak::testing
