#include "common/files.h"

#include <sys/stat.h>

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

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string OutputTargetProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    // A dangling link or a missing file: the output will be made there.
    return {};
  }
  if (S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) return "it is a folder";
  return "it is not a regular file";
}

}  // namespace tovak
