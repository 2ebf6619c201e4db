#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tovak::fuzz {

using Bytes = std::vector<uint8_t>;

// Seed inputs for each harness, written as root/<harness>/<name>.
class SeedWriter {
 public:
  explicit SeedWriter(std::filesystem::path root) : root_(std::move(root)) {}
  void Add(const std::string& harness, const std::string& name, const Bytes& bytes);
  int Count() const { return count_; }
  // A folder of this run's own for files the project's writers need on disk.
  std::filesystem::path Work() const { return root_ / ".work"; }

 private:
  std::filesystem::path root_;
  int count_ = 0;
};

Bytes ReadAll(const std::filesystem::path& path);

// Each adds the seeds of its harnesses, made with the project's own encoders and writers.
void AddCompressSeeds(SeedWriter& seeds);  // lzh, lzrw1kh
void AddPackageSeeds(SeedWriter& seeds);   // package, wav
void AddPictureSeeds(SeedWriter& seeds);   // jpeg_dc, psd, picture
void AddTextSeeds(SeedWriter& seeds);      // ini, link_menu

}  // namespace tovak::fuzz
