// Voice containers of both methods and raw LZRW1/KH blocks, from the sample data the codec tests
// use.

#include <string>

#include "common/memory_stream.h"
#include "compress/lzr.h"
#include "compress/lzrw1_class.h"
#include "seeds/seeds.h"
#include "support/sample_data.h"

namespace tovak::fuzz {

namespace {

// The harnesses supply the magic themselves; their inputs start after it.
Bytes ContainerBody(const Bytes& input, uint8_t method) {
  TMemoryStream in{Bytes(input)};
  TMemoryStream out;
  TLzrw1Class container;
  container.UseStreams = true;
  container.Method = method;
  container.InputStream = &in;
  container.OutputStream = &out;
  container.Compress();
  return Bytes(out.Bytes().begin() + 4, out.Bytes().end());
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
