// Voice containers of both methods and raw LZRW1/KH blocks, from the sample data the codec tests
// use.

#include <string>

#include "compress/lzr.h"
#include "container_harness.h"
#include "seeds/seeds.h"
#include "support/sample_data.h"

namespace tovak::fuzz {

namespace {

// The harnesses supply the magic themselves; their inputs start after it.
Bytes ContainerBody(const Bytes& input, uint8_t method) {
  const Bytes container = RunContainer(input, method, /*compress=*/true);
  return Bytes(container.begin() + 4, container.end());
}

}  // namespace

void AddCompressSeeds(SeedWriter& seeds) {
  struct Kind {
    const char* name;
    Bytes (*make)(size_t, uint32_t);
  };
  const Kind kinds[] = {{"text", sample::EnglishText},
                        {"voice", sample::VoiceAudio},
                        {"random", sample::RandomBytes},
                        {"runs", sample::Runs}};
  TLZR coder;
  for (const Kind& kind : kinds) {
    for (const size_t size : {0, 1, 17, 700, 5000, 40000}) {
      const Bytes input = kind.make(size, 7);
      const std::string name = std::string(kind.name) + "-" + std::to_string(size);
      const Bytes lzh = ContainerBody(input, cmLzh);
      if (lzh.size() <= 4096) seeds.Add("lzh", name, lzh);
      seeds.Add("lzrw1kh", name, ContainerBody(input, cmLzrw1KH));
      if (size > 0 && size <= size_t(TLZR::kMaxBlock)) {
        Bytes block(size + 6);
        block.resize(coder.CompressBlock(input.data(), block.data(), uint32_t(size)));
        seeds.Add("lzrw1kh", "block-" + name, block);
      }
    }
  }
}

}  // namespace tovak::fuzz
