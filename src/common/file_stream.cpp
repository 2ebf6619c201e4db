#include "common/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tovak {

TFileStream::~TFileStream() {
  Close();
}

bool TFileStream::Open(const std::string& path, Mode mode) {
  Close();
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::Read:
      flags |= O_RDONLY;
      break;
    case Mode::Create:
      flags |= O_WRONLY | O_CREAT | O_TRUNC;
      break;
    case Mode::ReadWrite:
      flags |= O_RDWR;
      break;
  }
  do {
    fd_ = ::open(path.c_str(), flags, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    Close();
    return false;
  }
  return true;
}

bool TFileStream::Close() {
  if (fd_ < 0) return true;
  const bool ok = ::close(fd_) == 0;
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
    const ssize_t got = ::read(fd_, bytes + total, static_cast<size_t>(n - total));
    if (got < 0) {
      if (errno == EINTR) continue;
      return total > 0 ? total : -1;
    }
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
    const ssize_t put = ::write(fd_, bytes + total, static_cast<size_t>(n - total));
    if (put < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (put == 0) break;
    total += put;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t offset, Origin origin) {
  if (fd_ < 0) return -1;
  int whence = SEEK_SET;
  if (origin == soFromCurrent) whence = SEEK_CUR;
  if (origin == soFromEnd) whence = SEEK_END;
  return ::lseek(fd_, offset, whence);
}

int64_t TFileStream::Size() {
  if (fd_ < 0) return -1;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return -1;
  return info.st_size;
}

}  // namespace tovak
