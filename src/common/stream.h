#pragma once

#include <cstdint>

namespace tovak {

// A byte stream: the common ground of in-memory data, files and the codecs that move between
// them. Failures are reported through return values, never by throwing, so that each caller can
// raise its own message.
class TStream {
 public:
  enum Origin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

  virtual ~TStream();

  // Reads up to n bytes; returns the count read (0 at the end) or a negative value on failure.
  virtual int64_t Read(void* buffer, int64_t n) = 0;
  // Writes n bytes; returns the count written (less than n on failure, negative on error).
  virtual int64_t Write(const void* buffer, int64_t n) = 0;
  // Returns the new position, or a negative value when the seek fails.
  virtual int64_t Seek(int64_t offset, Origin origin) = 0;
  // The whole length of the stream, or a negative value when it cannot be told.
  virtual int64_t Size() = 0;

  int64_t Position() { return Seek(0, soFromCurrent); }

  // Reads exactly n bytes or reports false.
  bool ReadExact(void* buffer, int64_t n) { return Read(buffer, n) == n; }
  bool WriteAll(const void* buffer, int64_t n) { return Write(buffer, n) == n; }
};

// Copies count bytes (or everything up to the end when count is negative) from source at its
// position to target at its position. Returns the number of bytes copied, or -1 on a failed
// transfer.
int64_t CopyStream(TStream& source, TStream& target, int64_t count = -1);

}  // namespace tovak
