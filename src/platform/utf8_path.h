#pragma once

#include <filesystem>
#include <string>

namespace tovak::platform {

// Our paths are UTF-8, but a narrow string given to std::filesystem is read in the machine's
// code page on Windows; these convert explicitly.
inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tovak::platform
