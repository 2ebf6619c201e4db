#pragma once

#include <cstdint>
#include <vector>

#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"

namespace tovak::testing {

// One container operation on memory streams: its result and everything it wrote.
struct ContainerRun {
  int32_t count = 0;
  std::vector<uint8_t> output;
};

inline ContainerRun CompressInMemory(const std::vector<uint8_t>& input, uint8_t method = cmLzh,
                                     TLzrw1Class* with = nullptr) {
  TMemoryStream in{std::vector<uint8_t>(input)};
  TMemoryStream out;
  TLzrw1Class own;
  TLzrw1Class& c = with ? *with : own;
  c.UseStreams = true;
  c.Method = method;
  c.InputStream = &in;
  c.OutputStream = &out;
  const int32_t count = c.Compress();
  return {count, out.Bytes()};
}

inline ContainerRun DecompressInMemory(const std::vector<uint8_t>& input) {
  TMemoryStream in{std::vector<uint8_t>(input)};
  TMemoryStream out;
  TLzrw1Class c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;
  const int32_t count = c.Decompress();
  return {count, out.Bytes()};
}

}  // namespace tovak::testing
