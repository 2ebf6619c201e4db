#include "common/stream.h"

#include <algorithm>
#include <vector>

namespace tovak {

TStream::~TStream() = default;

int64_t CopyStream(TStream& source, TStream& target, int64_t count) {
  std::vector<uint8_t> buffer(64 * 1024);
  int64_t copied = 0;
  while (count < 0 || copied < count) {
    int64_t want = static_cast<int64_t>(buffer.size());
    if (count >= 0) want = std::min(want, count - copied);
    const int64_t got = source.Read(buffer.data(), want);
    if (got < 0) return -1;
    if (got == 0) break;
    if (target.Write(buffer.data(), got) != got) return -1;
    copied += got;
  }
  return copied;
}

}  // namespace tovak
