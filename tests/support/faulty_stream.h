#pragma once

#include <cstdint>
#include <vector>

#include "common/memory_stream.h"

namespace tovak::testing {

// A memory stream that fails on demand, as a damaged disk or a closed pipe would.
class FaultyStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;

  bool failSize = false;
  bool failSeek = false;
  int64_t failReadsAfter = -1;   // bytes that read well before every read fails
  int64_t failWritesAfter = -1;  // bytes that write well before writes come up short

  int64_t Size() override { return failSize ? -1 : TMemoryStream::Size(); }
  int64_t Seek(int64_t offset, Origin origin) override {
    return failSeek ? -1 : TMemoryStream::Seek(offset, origin);
  }
  int64_t Read(void* buffer, int64_t n) override {
    if (failReadsAfter >= 0 && readSoFar_ + n > failReadsAfter) return -1;
    const int64_t got = TMemoryStream::Read(buffer, n);
    readSoFar_ += got;
    return got;
  }
  int64_t Write(const void* buffer, int64_t n) override {
    if (failWritesAfter >= 0 && writtenSoFar_ + n > failWritesAfter) {
      const int64_t room = failWritesAfter - writtenSoFar_;
      writtenSoFar_ = failWritesAfter;
      return TMemoryStream::Write(buffer, room);
    }
    writtenSoFar_ += n;
    return TMemoryStream::Write(buffer, n);
  }

 private:
  int64_t readSoFar_ = 0;
  int64_t writtenSoFar_ = 0;
};

}  // namespace tovak::testing
