// The voice container's strong method, as every package carries it. The input is what follows
// the "!HZL" magic: the declared size, then the LZH bit stream.

#include "container_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tovak::fuzz::ExpandAndRecode("!HZL", data, size, tovak::cmLzh,
                               "LZH: compressing and expanding changed the data");
  return 0;
}
