// Throughput of the voice codec on 1 MiB of voice-like audio and of English-like text, beside
// a plain transcription of the classic coder as the baseline.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"
#include "support/lzh_reference.h"
#include "support/sample_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes& Audio() {
  static const Bytes data = tovak::sample::VoiceAudio(1 << 20, 1);
  return data;
}
const Bytes& Text() {
  static const Bytes data = tovak::sample::EnglishText(1 << 20, 1);
  return data;
}

Bytes Run(const Bytes& input, bool compress) {
  tovak::TMemoryStream in{Bytes(input)};
  tovak::TMemoryStream out;
  out.Bytes().reserve(input.size() * 2);
  tovak::TLzrw1Class c;
  c.UseStreams = true;
  c.Method = tovak::cmLzh;
  c.InputStream = &in;
  c.OutputStream = &out;
  compress ? c.Compress() : c.Decompress();
  return std::move(out.Bytes());
}

// The container's body must be the classic coder's stream, bit for bit.
const Bytes& Packed(const Bytes& input) {
  static std::vector<std::pair<const Bytes*, Bytes>> cache;
  for (auto& [key, value] : cache)
    if (key == &input) return value;
  Bytes packed = Run(input, true);
  const Bytes classic = tovak::reference::LzhEncode(input);
  if (Bytes(packed.begin() + 8, packed.end()) != classic) {
    std::fprintf(stderr, "LZH output differs from the classic coder\n");
    std::abort();
  }
  cache.emplace_back(&input, std::move(packed));
  return cache.back().second;
}

void Encode(benchmark::State& state, const Bytes& (*data)()) {
  const Bytes& input = data();
  Packed(input);
  for (auto _ : state) benchmark::DoNotOptimize(Run(input, true));
  state.SetBytesProcessed(state.iterations() * input.size());
}

void Decode(benchmark::State& state, const Bytes& (*data)()) {
  const Bytes& input = data();
  const Bytes& packed = Packed(input);
  for (auto _ : state) {
    const Bytes out = Run(packed, false);
    if (out.size() != input.size()) state.SkipWithError("size differs");
  }
  state.SetBytesProcessed(state.iterations() * input.size());
}

void ClassicEncode(benchmark::State& state, const Bytes& (*data)()) {
  const Bytes& input = data();
  for (auto _ : state) benchmark::DoNotOptimize(tovak::reference::LzhEncode(input));
  state.SetBytesProcessed(state.iterations() * input.size());
}

void ClassicDecode(benchmark::State& state, const Bytes& (*data)()) {
  const Bytes& input = data();
  const Bytes coded = tovak::reference::LzhEncode(input);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        tovak::reference::LzhDecode(coded, static_cast<int32_t>(input.size())));
  }
  state.SetBytesProcessed(state.iterations() * input.size());
}

BENCHMARK_CAPTURE(Encode, audio, Audio)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, text, Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, audio, Audio)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, text, Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClassicEncode, audio, Audio)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClassicEncode, text, Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClassicDecode, audio, Audio)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClassicDecode, text, Text)->Unit(benchmark::kMillisecond);

}  // namespace
