#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tovak::fuzz {

// A broken promise of the code under test: libFuzzer keeps the input that led here.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// A folder of this process's own under the system's temporary folder, for the decoders that read
// a path. It is made on first use, reused by every input and removed when the process exits, so
// that runs side by side never meet and a long run leaves nothing behind.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovak-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline std::string ScratchFile(const std::string& name) {
  return (ScratchFolder() / name).string();
}

// Replaces the file with one holding the input. A new file rather than a truncated one: ext4
// writes a truncated file back to the disk when it is closed, which made every input cost a
// disk write.
inline void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out.flush()) std::abort();
}

}  // namespace tovak::fuzz
