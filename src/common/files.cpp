#include "common/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace tovak {

namespace fs = std::filesystem;

std::string UpperExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext;
}

int64_t FileSize(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return -1;
  const auto size = fs::file_size(path, error);
  return error ? -1 : static_cast<int64_t>(size);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  // A folder where a voice or message file is expected means "none", not a file to read.
  return fs::is_regular_file(path, error);
}

bool DeleteFileIfExists(const std::string& path) {
  std::error_code error;
  // Only files are ever the program's to delete: an output named /dev/null must survive a
  // failed write to it.
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || !(fs::is_regular_file(status) || fs::is_symlink(status))) return false;
  return fs::remove(path, error);
}

}  // namespace tovak
