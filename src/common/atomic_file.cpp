#include "common/atomic_file.h"

#include "common/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace tovak {

namespace fs = std::filesystem;

namespace {

std::string Reason(int code) {
  return std::strerror(code);
}

// A name beside the target that no other writer picks: the process and a counter, with a
// leading dot so it does not show in listings. It is short whatever the target's name, so a
// target whose name is near the file system's limit can still be written.
std::string TemporaryBeside(const std::string& path) {
  static std::atomic<int> counter = 0;
  const fs::path target(path);
  const std::string name =
      ".tovak-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
  return (target.parent_path() / name).string();
}

bool SyncFolderOf(const std::string& path) {
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::function<bool(TFileStream&)>& write,
                         std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (path.empty()) return fail("no file name");
  // A rename would put a plain file where a device, a FIFO or a folder was.
  if (const std::string problem = OutputTargetProblem(path); !problem.empty()) return fail(problem);
  const std::string temporary = TemporaryBeside(path);
  TFileStream file;
  errno = 0;
  if (!file.Open(temporary, TFileStream::Mode::Create)) return fail(Reason(errno));
  errno = 0;
  bool ok = write(file);
  int code = errno;
  if (ok && ::fsync(file.Handle()) != 0) {
    ok = false;
    code = errno;
  }
  if (!file.Close() && ok) {
    ok = false;
    code = errno;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return fail(code ? Reason(code) : "the file could not be written");
  }
  // The rename itself is durable only once the folder is; a failure here loses nothing.
  SyncFolderOf(path);
  return true;
}

bool WriteFileAtomically(const std::string& path, const void* data, int64_t size,
                         std::string* error) {
  return WriteFileAtomically(
      path, [&](TFileStream& file) { return size == 0 || file.WriteAll(data, size); }, error);
}

PendingFile::PendingFile(const std::string& path)
    : path_(path), temporary_(TemporaryBeside(path)) {}

PendingFile::~PendingFile() {
  std::error_code ignored;
  if (!committed_) fs::remove(temporary_, ignored);
}

bool PendingFile::Commit(std::string* error) {
  auto fail = [&](const std::string& why) {
    std::error_code ignored;
    fs::remove(temporary_, ignored);
    if (error) *error = why;
    return false;
  };
  if (committed_) return true;
  // Something that is not a file may have taken the name since the writer began.
  if (const std::string problem = OutputTargetProblem(path_); !problem.empty())
    return fail(problem);
  TFileStream file;
  errno = 0;
  if (!file.Open(temporary_, TFileStream::Mode::ReadWrite)) return fail(Reason(errno));
  if (::fsync(file.Handle()) != 0 || !file.Close()) return fail(Reason(errno));
  std::error_code renamed;
  fs::rename(temporary_, path_, renamed);
  if (renamed) return fail(renamed.message());
  committed_ = true;
  SyncFolderOf(path_);
  return true;
}

}  // namespace tovak
