// The file helpers on Windows, through the wide API and without std::filesystem, which alone
// would triple the engine's size.
#include <algorithm>
#include <cctype>

#include "common/files.h"
#include "engine-win32/wide_text.h"

#include <windows.h>

namespace tovak {

namespace {

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

bool IsPlainFile(const WIN32_FILE_ATTRIBUTE_DATA& data) {
  return !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

}  // namespace

std::string UpperExtension(const std::string& path) {
  const size_t name = path.find_last_of("\\/");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (name != std::string::npos && dot < name) ||
      dot == (name == std::string::npos ? 0 : name + 1)) {
    return {};
  }
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext;
}

int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(path, data) || !IsPlainFile(data)) return -1;
  return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FileExists(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(path, data) && IsPlainFile(data);
}

bool DeleteFileIfExists(const std::string& path) {
  return FileExists(path) && DeleteFileW(Widen(path).c_str()) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  // The volume and the file index name a file; a path compared as text would not see links.
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file =
        CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  return identity(a, first) && identity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

std::string OutputTargetProblem(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(path, data)) return {};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a folder";
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return "it is not a regular file";
  return {};
}

}  // namespace tovak
