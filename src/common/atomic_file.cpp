#include "common/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include "common/files.h"
#include "platform/native_file.h"

namespace tovak {

namespace {

std::string Reason(int code) {
  return std::strerror(code);
}

// A name beside the target that no other writer picks: the process and a counter, with a
// leading dot so it does not show in listings. It is short whatever the target's name, so a
// target whose name is near the file system's limit can still be written.
std::string TemporaryBeside(const std::string& path) {
  static std::atomic<int> counter = 0;
  return platform::FolderOf(path) + ".tovak-" + std::to_string(platform::ProcessId()) + "-" +
         std::to_string(++counter) + ".tmp";
}

}  // namespace

bool IsAtomicTemporaryName(const std::string& name) {
  // The names TemporaryBeside gives.
  return name.size() > 11 && name.starts_with(".tovak-") && name.ends_with(".tmp");
}

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
  const RegisteredTemporary registered(temporary);
  TFileStream file;
  errno = 0;
  if (!file.Open(temporary, TFileStream::Mode::Create)) return fail(Reason(errno));
  errno = 0;
  bool ok = write(file);
  int code = errno;
  if (ok && !file.FlushToDisk()) {
    ok = false;
    code = errno;
  }
  if (!file.Close() && ok) {
    ok = false;
    code = errno;
  }
  if (ok && !platform::RenameOver(temporary, path)) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    platform::RemoveFile(temporary);
    return fail(code ? Reason(code) : "the file could not be written");
  }
  // The rename itself is durable only once the folder is; a failure here loses nothing.
  platform::FlushFolder(platform::FolderOf(path));
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
  if (!committed_) platform::RemoveFile(temporary_);
}

bool PendingFile::Commit(std::string* error) {
  auto fail = [&](const std::string& why) {
    platform::RemoveFile(temporary_);
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
  if (!file.FlushToDisk() || !file.Close()) return fail(Reason(errno));
  errno = 0;
  if (!platform::RenameOver(temporary_, path_)) return fail(Reason(errno));
  committed_ = true;
  platform::FlushFolder(platform::FolderOf(path_));
  return true;
}

}  // namespace tovak
