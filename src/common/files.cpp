#include "common/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/native_file.h"
#include "platform/utf8_path.h"

namespace tovak {

namespace fs = std::filesystem;
using platform::PathFromUtf8;

std::string UpperExtension(const std::string& path) {
  std::string ext = platform::Utf8FromPath(PathFromUtf8(path).extension());
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext;
}

int64_t FileSize(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(PathFromUtf8(path), error)) return -1;
  const auto size = fs::file_size(PathFromUtf8(path), error);
  return error ? -1 : static_cast<int64_t>(size);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  // A folder where a voice or message file is expected means "none", not a file to read.
  return fs::is_regular_file(PathFromUtf8(path), error);
}

bool DeleteFileIfExists(const std::string& path) {
  std::error_code error;
  // Only files are ever the program's to delete: an output named /dev/null must survive a
  // failed write to it.
  const fs::file_status status = fs::symlink_status(PathFromUtf8(path), error);
  if (error || !(fs::is_regular_file(status) || fs::is_symlink(status))) return false;
  return fs::remove(PathFromUtf8(path), error);
}

bool SameFile(const std::string& a, const std::string& b) {
  return platform::SameFileIdentity(a, b);
}

std::string OutputTargetProblem(const std::string& path) {
  switch (platform::KindOf(path)) {
    case platform::FileKind::Missing:  // a dangling link or no file: the output is made there
    case platform::FileKind::Regular:
      return {};
    case platform::FileKind::Folder:
      return "it is a folder";
    case platform::FileKind::Other:
      break;
  }
  return "it is not a regular file";
}

}  // namespace tovak
