#include "common/file_stream.h"

#include <cstdio>

#include "platform/native_file.h"

namespace tovak {

TFileStream::~TFileStream() {
  Close();
}

bool TFileStream::Open(const std::string& path, Mode mode) {
  Close();
  platform::OpenMode how = platform::OpenMode::Read;
  if (mode == Mode::Create) how = platform::OpenMode::Create;
  if (mode == Mode::ReadWrite) how = platform::OpenMode::ReadWrite;
  fd_ = platform::OpenFile(path, how);
  return fd_ >= 0;
}

bool TFileStream::Close() {
  if (fd_ < 0) return true;
  const bool ok = platform::CloseFile(fd_);
  fd_ = -1;
  return ok;
}

int64_t TFileStream::Read(void* buffer, int64_t n) {
  if (fd_ < 0) return -1;
  int64_t total = 0;
  auto* bytes = static_cast<char*>(buffer);
  // A plain read may return less than asked before the end; callers expect a short count to
  // mean the end of the file.
  while (total < n) {
    const int64_t got = platform::ReadSome(fd_, bytes + total, n - total);
    if (got < 0) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t n) {
  if (fd_ < 0) return -1;
  int64_t total = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (total < n) {
    const int64_t put = platform::WriteSome(fd_, bytes + total, n - total);
    if (put <= 0) break;
    total += put;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t offset, Origin origin) {
  if (fd_ < 0) return -1;
  int whence = SEEK_SET;
  if (origin == soFromCurrent) whence = SEEK_CUR;
  if (origin == soFromEnd) whence = SEEK_END;
  return platform::SeekFile(fd_, offset, whence);
}

int64_t TFileStream::Size() {
  if (fd_ < 0) return -1;
  return platform::SizeOfFile(fd_);
}

bool TFileStream::FlushToDisk() {
  return fd_ >= 0 && platform::FlushToDisk(fd_);
}

}  // namespace tovak
