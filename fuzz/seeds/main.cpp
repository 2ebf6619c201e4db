// Writes the seed corpora of the fuzzing harnesses: tovak-fuzz-seeds FOLDER

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>

#include "seeds/seeds.h"

namespace tovak::fuzz {

void SeedWriter::Add(const std::string& harness, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(root_ / harness);
  std::ofstream out(root_ / harness / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write the seed " + harness + "/" + name);
  ++count_;
}

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tovak::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  try {
    tovak::fuzz::SeedWriter seeds(argv[1]);
    std::filesystem::create_directories(seeds.Work());
    tovak::fuzz::AddCompressSeeds(seeds);
    tovak::fuzz::AddPackageSeeds(seeds);
    tovak::fuzz::AddPictureSeeds(seeds);
    tovak::fuzz::AddTextSeeds(seeds);
    std::filesystem::remove_all(seeds.Work());
    std::printf("%d seeds written to %s\n", seeds.Count(), argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tovak-fuzz-seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
