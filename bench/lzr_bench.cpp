// TLZR against the plain reference coder, on the two kinds of data the container sees most: text
// and 8-bit voice recordings, coded in full blocks as the container does.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "compress/lzr.h"
#include "support/lzr_reference.h"
#include "support/sample_data.h"

namespace {

using tovak::TLZR;
using tovak::reference::Lzrw1KH;

constexpr size_t kInputSize = size_t{1} << 20;
constexpr size_t kBlock = TLZR::kMaxBlock;

struct Corpus {
  // Two spare bytes at the end, which the reference coder reads.
  std::vector<uint8_t> input;
  size_t size = 0;
  std::vector<std::vector<uint8_t>> blocks;
};

[[noreturn]] void Fail(const char* what, size_t block) {
  std::fprintf(stderr, "lzr_bench: %s in block %zu\n", what, block);
  std::abort();
}

// Codes the data with both coders and refuses to measure anything unless they agree byte for
// byte, both ways.
Corpus Prepare(std::vector<uint8_t> data) {
  Corpus corpus;
  corpus.size = data.size();
  corpus.input = std::move(data);
  corpus.input.resize(corpus.size + 2);
  TLZR lzr;
  Lzrw1KH reference;
  std::vector<uint8_t> ours(kBlock + 6), theirs(kBlock + 6), decoded(kBlock);
  for (size_t start = 0, index = 0; start < corpus.size; start += kBlock, ++index) {
    const auto n = static_cast<uint16_t>(std::min(kBlock, corpus.size - start));
    const uint8_t* source = corpus.input.data() + start;
    const uint16_t length = lzr.CompressBlock(source, ours.data(), n);
    const uint16_t referenceLength = reference.CompressBlock(source, theirs.data(), n);
    if (length != referenceLength ||
        !std::equal(ours.begin(), ours.begin() + length, theirs.begin()))
      Fail("TLZR and the reference code differently", index);
    if (lzr.DecompressBlock(ours.data(), decoded.data(), length) != n ||
        !std::equal(decoded.begin(), decoded.begin() + n, source))
      Fail("TLZR does not decode its own output", index);
    if (Lzrw1KH::DecompressBlock(ours.data(), decoded.data(), length) != n ||
        !std::equal(decoded.begin(), decoded.begin() + n, source))
      Fail("the reference does not decode TLZR's output", index);
    corpus.blocks.emplace_back(ours.begin(), ours.begin() + length);
  }
  return corpus;
}

const Corpus& Text() {
  static const Corpus corpus = Prepare(tovak::sample::EnglishText(kInputSize));
  return corpus;
}

const Corpus& Audio() {
  static const Corpus corpus = Prepare(tovak::sample::VoiceAudio(kInputSize));
  return corpus;
}

template <typename Coder>
void Compress(benchmark::State& state, const Corpus& (*data)()) {
  const Corpus& corpus = data();
  Coder coder;
  std::vector<uint8_t> out(kBlock + 6);
  for (auto _ : state) {
    for (size_t start = 0; start < corpus.size; start += kBlock) {
      const auto n = static_cast<uint16_t>(std::min(kBlock, corpus.size - start));
      benchmark::DoNotOptimize(coder.CompressBlock(corpus.input.data() + start, out.data(), n));
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.size));
}

template <typename Coder>
void Decompress(benchmark::State& state, const Corpus& (*data)()) {
  const Corpus& corpus = data();
  Coder coder;
  std::vector<uint8_t> out(kBlock);
  for (auto _ : state) {
    for (const auto& block : corpus.blocks) {
      benchmark::DoNotOptimize(
          coder.DecompressBlock(block.data(), out.data(), static_cast<uint16_t>(block.size())));
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.size));
}

void LzrCompress(benchmark::State& state, const Corpus& (*data)()) {
  Compress<TLZR>(state, data);
}
void LzrReferenceCompress(benchmark::State& state, const Corpus& (*data)()) {
  Compress<Lzrw1KH>(state, data);
}
void LzrDecompress(benchmark::State& state, const Corpus& (*data)()) {
  Decompress<TLZR>(state, data);
}
void LzrReferenceDecompress(benchmark::State& state, const Corpus& (*data)()) {
  Decompress<Lzrw1KH>(state, data);
}

}  // namespace

BENCHMARK_CAPTURE(LzrCompress, text, Text);
BENCHMARK_CAPTURE(LzrReferenceCompress, text, Text);
BENCHMARK_CAPTURE(LzrCompress, audio, Audio);
BENCHMARK_CAPTURE(LzrReferenceCompress, audio, Audio);
BENCHMARK_CAPTURE(LzrDecompress, text, Text);
BENCHMARK_CAPTURE(LzrReferenceDecompress, text, Text);
BENCHMARK_CAPTURE(LzrDecompress, audio, Audio);
BENCHMARK_CAPTURE(LzrReferenceDecompress, audio, Audio);
