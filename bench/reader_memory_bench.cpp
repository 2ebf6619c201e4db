// How much memory and time the package reader spends refusing forged picture counts in large
// sparse files (gigabytes long, a few kilobytes on disk), and opening a real index of a couple
// of million entries. Each open runs in a child process, whose peak resident size the kernel
// reports when it ends. Prints a table; the reader should stay far below 100 MB throughout.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "builder/package_format.h"
#include "builder/package_reader.h"

namespace {

namespace fs = std::filesystem;
using tovak::PutLe32;

constexpr int64_t kGigabyte = int64_t{1} << 30;
constexpr uint32_t kEngine = 4096;

void WriteAt(std::fstream& file, int64_t at, const std::vector<uint8_t>& bytes) {
  file.seekp(at);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> Entry(uint32_t offset, uint32_t size) {
  std::vector<uint8_t> bytes(8);
  PutLe32(&bytes[0], offset);
  PutLe32(&bytes[4], size);
  return bytes;
}

// A file of size bytes, zeros but for an engine's first bytes and a trailer stating pictures;
// with ends, the first and last index entries are plausible too.
void Forge(const std::string& path, int64_t size, uint32_t pictures, bool ends) {
  fs::remove(path);
  {
    std::ofstream(path, std::ios::binary)
        .write(
            "\x7F"
            "ELF",
            4);
  }
  fs::resize_file(path, static_cast<uintmax_t>(size));
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  const int64_t tableStart = size - 16 - 8 * (tovak::package::IndexEntryCount(pictures) / 2);
  if (ends) {
    WriteAt(file, tableStart, Entry(kEngine, 0));
    WriteAt(file, size - 24, Entry(kEngine, uint32_t(tableStart - kEngine)));
  }
  std::vector<uint8_t> trailer(16, 0);
  PutLe32(&trailer[4], pictures);
  PutLe32(&trailer[8], 3);
  WriteAt(file, size - 16, trailer);
}

// A sound package of empty pictures whose index is real bytes on disk.
void Consistent(const std::string& path, uint32_t pictures) {
  std::ofstream out(path, std::ios::binary);
  const std::vector<uint8_t> engine(kEngine, 0x90);
  out.write(reinterpret_cast<const char*>(engine.data()), kEngine);
  std::vector<uint8_t> table;
  table.reserve(size_t(pictures) * 24 + 8);
  auto add = [&](uint32_t offset, uint32_t size) {
    const std::vector<uint8_t> entry = Entry(offset, size);
    table.insert(table.end(), entry.begin(), entry.end());
  };
  for (uint32_t i = 0; i < 3 * pictures + 1; ++i) add(kEngine, 0);
  out.write(reinterpret_cast<const char*>(table.data()), std::streamsize(table.size()));
  std::vector<uint8_t> trailer(16, 0);
  PutLe32(&trailer[4], pictures);
  PutLe32(&trailer[8], 3);
  out.write(reinterpret_cast<const char*>(trailer.data()), 16);
}

void Measure(const char* name, const std::string& path) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    tovak::PackageReader reader;
    try {
      reader.Open(path);
      std::printf("%-44s opened, %d pictures\n", name, reader.PictureCount());
    } catch (const tovak::Exception& e) {
      std::printf("%-44s refused: %s\n", name, e.Message().c_str());
    }
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-44s peak %.1f MB, %.3f s\n", "", usage.ru_maxrss / 1024.0, seconds);
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "tovak-reader-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const fs::path dir = pattern;
  const std::string path = (dir / "forged.exe").string();
  // The largest counts whose index fits each file.
  Forge(path, 3 * kGigabyte, uint32_t((3 * kGigabyte - 24) / 24), false);
  Measure("3 GB sparse, forged count", path);
  Forge(path, 40 * kGigabyte, 1'000'000'000u, false);
  Measure("40 GB sparse, forged count", path);
  Forge(path, 2 * kGigabyte - 1, uint32_t((2 * kGigabyte - 25) / 24), false);
  Measure("2 GB sparse, forged count", path);
  Forge(path, 2 * kGigabyte - 1, uint32_t((2 * kGigabyte - (1 << 20)) / 24), true);
  Measure("2 GB sparse, forged count, plausible ends", path);
  Consistent(path, 20'000'000);
  Measure("20 million empty pictures, 480 MB index", path);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return 0;
}
