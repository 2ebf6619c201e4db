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

// A folder of this process's own for the decoders that read a path: in memory (/dev/shm) where
// there is one, since a disk file system spends far longer making and dropping a file than the
// decoders spend reading it, else under the system's temporary folder. It is made on first use,
// reused by every input and removed when the process exits, so that runs side by side never meet
// and a long run leaves nothing behind.
inline const std::filesystem::path& ScratchFolder() {
  // Never destroyed, so that it is still there when the exit handler removes it.
  static const std::filesystem::path* folder = [] {
    std::error_code error;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, error) || access(base.c_str(), W_OK) != 0) {
      base = std::filesystem::temp_directory_path();
    }
    std::string pattern = (base / "tovak-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return new std::filesystem::path(pattern);
  }();
  static const bool removedAtExit = [] {
    return std::atexit([] {
             std::error_code ignored;
             std::filesystem::remove_all(*folder, ignored);
           }) == 0;
  }();
  (void)removedAtExit;
  return *folder;
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
