// On 32-bit Linux off_t is 32 bits unless asked otherwise: a file over 2 GiB would not open and
// a seek past 4 GiB would wrap.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif

#include "platform/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <limits>

namespace tovak::platform {

std::string FileNameOf(const std::string& path) {
  const size_t end = path.find_last_of(kPathSeparators);
  return end == std::string::npos ? path : path.substr(end + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t end = path.find_last_of(kPathSeparators);
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

#ifdef _WIN32

namespace {

// Windows moves at most an unsigned int per call.
constexpr int64_t kLargestTransfer = 1 << 30;

// A handle to whatever is at path, for asking what it is; INVALID_HANDLE_VALUE when nothing is.
HANDLE OpenForQuery(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return INVALID_HANDLE_VALUE;
  // Backup semantics let a folder be opened too.
  return ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::wstring WidePath(const std::string& path) {
  if (path.empty() || path.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return {};
  const int size = static_cast<int>(path.size());
  const int count =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<size_t>(count), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), count);
  // A NUL inside the name would cut it short where the system reads it.
  if (wide.find(L'\0') != std::wstring::npos) return {};
  return wide;
}

int OpenFile(const std::string& path, OpenMode mode) {
  const std::wstring wide = WidePath(path);
  if (wide.empty()) {
    errno = ENOENT;
    return -1;
  }
  // Binary: text mode would turn CR LF into LF and stop at the first byte 26.
  int flags = _O_BINARY | _O_NOINHERIT;
  switch (mode) {
    case OpenMode::Read:
      flags |= _O_RDONLY;
      break;
    case OpenMode::Create:
      flags |= _O_WRONLY | _O_CREAT | _O_TRUNC;
      break;
    case OpenMode::ReadWrite:
      flags |= _O_RDWR;
      break;
  }
  const int fd = ::_wopen(wide.c_str(), flags, _S_IREAD | _S_IWRITE);
  if (fd < 0) return -1;
  struct _stati64 info {};
  if (::_fstati64(fd, &info) != 0 || (info.st_mode & _S_IFDIR)) {
    ::_close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

bool CloseFile(int fd) {
  return ::_close(fd) == 0;
}

int64_t ReadSome(int fd, void* buffer, int64_t n) {
  return ::_read(fd, buffer, static_cast<unsigned>(std::min(n, kLargestTransfer)));
}

int64_t WriteSome(int fd, const void* buffer, int64_t n) {
  return ::_write(fd, buffer, static_cast<unsigned>(std::min(n, kLargestTransfer)));
}

int64_t SeekFile(int fd, int64_t offset, int whence) {
  return ::_lseeki64(fd, offset, whence);
}

int64_t SizeOfFile(int fd) {
  struct _stati64 info {};
  if (::_fstati64(fd, &info) != 0) return -1;
  return info.st_size;
}

bool FlushToDisk(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle)) return true;
  errno = EIO;
  return false;
}

void FlushFolder(const std::string&) {
  // A rename with write-through is already durable.
}

bool RenameOver(const std::string& from, const std::string& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  if (!source.empty() && !target.empty() &&
      ::MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  // The callers report errno; a target held open elsewhere is the usual cause.
  errno = EACCES;
  return false;
}

bool RemoveFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && ::DeleteFileW(wide.c_str());
}

int ProcessId() {
  return static_cast<int>(::GetCurrentProcessId());
}

FileKind KindOf(const std::string& path) {
  const HANDLE handle = OpenForQuery(path);
  if (handle == INVALID_HANDLE_VALUE) return FileKind::Missing;
  FileKind kind = FileKind::Other;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info)) {
    kind =
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
  }
  ::CloseHandle(handle);
  return kind;
}

bool SameFileIdentity(const std::string& a, const std::string& b) {
  // st_ino is always 0 on Windows: the volume serial and the file index name a file.
  auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE handle = OpenForQuery(path);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  return identify(a, first) && identify(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

#else

int OpenFile(const std::string& path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read:
      flags |= O_RDONLY;
      break;
    case OpenMode::Create:
      flags |= O_WRONLY | O_CREAT | O_TRUNC;
      break;
    case OpenMode::ReadWrite:
      flags |= O_RDWR;
      break;
  }
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

bool CloseFile(int fd) {
  return ::close(fd) == 0;
}

int64_t ReadSome(int fd, void* buffer, int64_t n) {
  ssize_t got = 0;
  do {
    got = ::read(fd, buffer, static_cast<size_t>(n));
  } while (got < 0 && errno == EINTR);
  return got;
}

int64_t WriteSome(int fd, const void* buffer, int64_t n) {
  ssize_t put = 0;
  do {
    put = ::write(fd, buffer, static_cast<size_t>(n));
  } while (put < 0 && errno == EINTR);
  return put;
}

int64_t SeekFile(int fd, int64_t offset, int whence) {
  static_assert(sizeof(off_t) == 8, "files need 64-bit offsets");
  return ::lseek(fd, static_cast<off_t>(offset), whence);
}

int64_t SizeOfFile(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return -1;
  return info.st_size;
}

bool FlushToDisk(int fd) {
  return ::fsync(fd) == 0;
}

void FlushFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool RenameOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

int ProcessId() {
  return static_cast<int>(::getpid());
}

FileKind KindOf(const std::string& path) {
  struct stat info {};
  // A dangling link is nothing: an output made there follows the link.
  if (::stat(path.c_str(), &info) != 0) return FileKind::Missing;
  if (S_ISREG(info.st_mode)) return FileKind::Regular;
  if (S_ISDIR(info.st_mode)) return FileKind::Folder;
  return FileKind::Other;
}

bool SameFileIdentity(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

#endif

}  // namespace tovak::platform
