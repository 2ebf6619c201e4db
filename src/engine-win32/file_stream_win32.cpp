// The file stream on Windows: binary mode always, UTF-8 names opened through the wide API, and
// 64-bit positions, so a package in any folder reads byte for byte.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>

#include "common/file_stream.h"
#include "engine-win32/wide_text.h"

namespace tovak {

TFileStream::~TFileStream() {
  Close();
}

bool TFileStream::Open(const std::string& path, Mode mode) {
  Close();
  int flags = _O_BINARY | _O_NOINHERIT;
  switch (mode) {
    case Mode::Read:
      flags |= _O_RDONLY;
      break;
    case Mode::Create:
      flags |= _O_WRONLY | _O_CREAT | _O_TRUNC;
      break;
    case Mode::ReadWrite:
      flags |= _O_RDWR;
      break;
  }
  fd_ = _wopen(Widen(path).c_str(), flags, _S_IREAD | _S_IWRITE);
  if (fd_ < 0) return false;
  struct _stat64 info {};
  if (_fstat64(fd_, &info) != 0 || (info.st_mode & _S_IFDIR)) {
    Close();
    return false;
  }
  return true;
}

bool TFileStream::Close() {
  if (fd_ < 0) return true;
  const bool ok = _close(fd_) == 0;
  fd_ = -1;
  return ok;
}

int64_t TFileStream::Read(void* buffer, int64_t n) {
  if (fd_ < 0) return -1;
  int64_t total = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (total < n) {
    const int64_t chunk = std::min<int64_t>(n - total, 1 << 30);
    const int got = _read(fd_, bytes + total, static_cast<unsigned>(chunk));
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
    const int64_t chunk = std::min<int64_t>(n - total, 1 << 30);
    const int put = _write(fd_, bytes + total, static_cast<unsigned>(chunk));
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
  return _lseeki64(fd_, offset, whence);
}

int64_t TFileStream::Size() {
  if (fd_ < 0) return -1;
  struct _stat64 info {};
  if (_fstat64(fd_, &info) != 0) return -1;
  return info.st_size;
}

}  // namespace tovak
