#pragma once

#include <cstdint>
#include <string>

#include "common/stream.h"

namespace tovak {

// A stream over an open file, binary, with 64-bit positions; paths are UTF-8. The file is closed
// when the object goes away.
class TFileStream : public TStream {
 public:
  enum class Mode {
    Read,       // an existing file, read-only
    Create,     // a new or truncated file, write-only
    ReadWrite,  // an existing file, read and write
  };

  TFileStream() = default;
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  // Opens path; false (and a closed stream) on failure. A stream already open is closed first.
  bool Open(const std::string& path, Mode mode);
  // Closes the file; false when the last writes could not be completed.
  bool Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The operating system's descriptor; -1 when closed.
  int Handle() const { return fd_; }
  // Waits until everything written is on the disk; false when it cannot be.
  bool FlushToDisk();

  int64_t Read(void* buffer, int64_t n) override;
  int64_t Write(const void* buffer, int64_t n) override;
  int64_t Seek(int64_t offset, Origin origin) override;
  int64_t Size() override;

 private:
  int fd_ = -1;
};

}  // namespace tovak
