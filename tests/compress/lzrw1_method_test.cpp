// The container's fast method, the automatic choice and the stream-mode failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/memory_stream.h"
#include "compress/compress_errors.h"
#include "compress/lzrw1_class.h"
#include "support/container_runs.h"
#include "support/faulty_stream.h"
#include "support/sample_data.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::FaultyStream;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Bytes kWrzl = {0x57, 0x52, 0x5A, 0x4C};
const Bytes kHzl = {0x21, 0x48, 0x5A, 0x4C};

// The most output a block can yield from the fewest bytes: eight runs making up 32768 bytes.
Bytes FullBlock() {
  Bytes block = {35, 0, 0x40, 0xFF, 0x00};
  for (int i = 0; i < 7; ++i) block.insert(block.end(), {0x00, 0x0F, 0xFF, 0x55});
  block.insert(block.end(), {0x00, 0x0F, 0x87, 0x55});
  return block;
}

Bytes Size32(uint32_t n) {
  return {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
}

using Outcome = testing::ContainerRun;

Outcome Compress(const Bytes& input, uint8_t method, TLzrw1Class* with = nullptr) {
  return testing::CompressInMemory(input, method, with);
}
Outcome Decompress(const Bytes& input) {
  return testing::DecompressInMemory(input);
}

TEST(Lzrw1KHContainer, KnownContainers) {
  EXPECT_EQ(Compress({}, cmLzrw1KH).output, Cat({kWrzl, Size32(0), {0x01, 0x00, 0x80}}));
  const Outcome abc = Compress({'a', 'b', 'c'}, cmLzrw1KH);
  EXPECT_EQ(abc.output, Cat({kWrzl, Size32(3), {0x04, 0x00, 0x80, 'a', 'b', 'c'}}));
  EXPECT_EQ(abc.count, 14);
  EXPECT_EQ(Compress(Bytes(100, 0x61), cmLzrw1KH).output,
            Cat({kWrzl, Size32(100), {0x07, 0x00, 0x40, 0x80, 0x00, 0x00, 0x00, 0x54, 0x61}}));
  for (const Bytes& input : {Bytes{}, Bytes{'a', 'b', 'c'}, Bytes(100, 0x61)}) {
    const Outcome back = Decompress(Compress(input, cmLzrw1KH).output);
    EXPECT_EQ(back.output, input);
    EXPECT_EQ(back.count, static_cast<int32_t>(input.size()));
  }
}

TEST(Lzrw1KHContainer, BlockBoundaries) {
  const Bytes text = sample::EnglishText(100000, 6);
  // A whole number of blocks ends with an empty stored block.
  const Bytes exact(text.begin(), text.begin() + 32768);
  const Bytes packed = Compress(exact, cmLzrw1KH).output;
  EXPECT_EQ(Bytes(packed.end() - 3, packed.end()), (Bytes{0x01, 0x00, 0x80}));
  // One byte more makes a second block holding that byte.
  const Bytes over(text.begin(), text.begin() + 32769);
  const Bytes packedOver = Compress(over, cmLzrw1KH).output;
  EXPECT_EQ(Bytes(packedOver.end() - 4, packedOver.end()), (Bytes{0x02, 0x00, 0x80, over.back()}));

  for (size_t n : {size_t{32767}, size_t{32768}, size_t{32769}, size_t{65536}, size_t{100000}}) {
    const Bytes input(text.begin(), text.begin() + n);
    const Outcome run = Compress(input, cmLzrw1KH);
    EXPECT_EQ(run.count, static_cast<int32_t>(run.output.size()));
    EXPECT_EQ(Decompress(run.output).output, input) << n;
  }
  const Bytes noise = sample::RandomBytes(70000, 2);
  EXPECT_EQ(Decompress(Compress(noise, cmLzrw1KH).output).output, noise);
}

class Lzrw1KHFiles : public ::testing::Test {
 protected:
  std::string DecompressFailure(const Bytes& container) {
    testing::WriteBytes(in, container);
    TLzrw1Class c;
    c.InputFileName = in;
    c.OutputFileName = out;
    try {
      c.Decompress();
    } catch (const ELzrw1Exception& e) {
      EXPECT_FALSE(std::filesystem::exists(out));
      return e.Message();
    }
    return "no failure";
  }

  testing::TempDir dir;
  std::string in = dir.File("in.wrzl");
  std::string out = dir.File("out.bin");
};

TEST_F(Lzrw1KHFiles, TruncationSizeMismatchAndDamage) {
  const Bytes packed = Compress(sample::EnglishText(50000, 1), cmLzrw1KH).output;
  EXPECT_EQ(DecompressFailure(Bytes(packed.begin(), packed.begin() + 40)),
            "Lzrw1 : Error reading from input file : " + in);
  Bytes lying = packed;
  lying[4] += 1;  // one byte more than the blocks hold
  EXPECT_EQ(DecompressFailure(lying),
            "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
  // A copy reaching before the start of its block.
  EXPECT_EQ(DecompressFailure(Cat({kWrzl, Size32(5), {0x05, 0x00, 0x40, 0x40, 0x00, 0x00, 0x50}}))
                .rfind("Lzrw1", 0),
            0u);
  // A size field that no body this short could yield is a cut-off container; a negative one
  // cannot match anything.
  EXPECT_EQ(DecompressFailure(Cat({kWrzl, Size32(0x7FFFFFFF), FullBlock(), FullBlock()})),
            "Lzrw1 : Error reading from input file : " + in);
  EXPECT_EQ(DecompressFailure(Cat({kWrzl, Size32(0xFFFFFFFD), {0x04, 0x00, 0x80, 'a', 'b', 'c'}})),
            "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
  // A block length no genuine block has.
  EXPECT_EQ(DecompressFailure(Cat({kWrzl, Size32(5), {0xFF, 0xFF, 0x80}})).rfind("Lzrw1", 0), 0u);
}

TEST(Lzrw1KHStreams, DamageEndsQuietlyWithWhatWasDecoded) {
  const Bytes input = sample::EnglishText(50000, 1);
  const Bytes packed = Compress(input, cmLzrw1KH).output;
  // Cut inside the second block: the first block's bytes are out.
  const Outcome cut = Decompress(Bytes(packed.begin(), packed.end() - 10));
  EXPECT_EQ(cut.count, 32768);
  EXPECT_EQ(cut.output, Bytes(input.begin(), input.begin() + 32768));
  Bytes lying = packed;
  lying[4] += 1;
  const Outcome mismatch = Decompress(lying);
  EXPECT_EQ(mismatch.output, input);
  const Outcome damaged =
      Decompress(Cat({kWrzl, Size32(5), {0x05, 0x00, 0x40, 0x40, 0x00, 0x00, 0x50}}));
  EXPECT_TRUE(damaged.output.empty());
}

// An output that keeps no bytes, only how many it was given. It takes no more than 64 MiB, so that
// a run-away expansion ends the test rather than the machine's memory.
class MeasuringStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return -1; }
  int64_t Write(const void*, int64_t n) override {
    const int64_t taken = std::min(n, (int64_t{64} << 20) - held);
    held += taken;
    return taken;
  }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? held : -1;
  }
  int64_t Size() override { return held; }

  int64_t held = 0;
};

int64_t OutputHeld(const Bytes& container) {
  TMemoryStream in{Bytes(container)};
  MeasuringStream out;
  TLzrw1Class c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;
  c.Decompress();
  return out.held;
}

// A forged record must not make a caller's memory stream grow beyond what its size field states,
// nor grow at all when no body of its length could yield that size.
TEST(Lzrw1Streams, ForgedSizeFieldsNeverGrowTheOutput) {
  Bytes bombs;  // 1 MiB of blocks that would expand to 928 MB
  const Bytes block = FullBlock();
  while (bombs.size() + block.size() <= (size_t{1} << 20)) {
    bombs.insert(bombs.end(), block.begin(), block.end());
  }
  EXPECT_EQ(OutputHeld(Cat({kWrzl, Size32(0x7FFFFFFF), bombs})), 0);
  EXPECT_EQ(OutputHeld(Cat({kHzl, Size32(0x7FFFFFFF), sample::RandomBytes(1 << 20, 9)})), 0);
  EXPECT_EQ(OutputHeld(Cat({kWrzl, Size32(0xFFFFFFFF), {0x04, 0x00, 0x80, 'a', 'b', 'c'}})), 0);

  // Plausible sizes that the data overruns: expansion stops where the size field says.
  EXPECT_EQ(OutputHeld(Cat({kWrzl, Size32(3 * 32768 + 5), bombs})), 3 * 32768);
  // 100 bytes 0x61 as a literal and matches of 60 and 39.
  EXPECT_EQ(OutputHeld(Cat({kHzl, Size32(62), {0xF6, 0xFB, 0x40, 0x16, 0x00, 0x00}})), 62);
}

// An input made of blocks that are either all zeros (highly compressible) or random, so that the
// result of Advise tells which blocks it sampled.
Bytes Blocks(size_t size, std::initializer_list<size_t> zeroBlocks) {
  Bytes data = sample::RandomBytes(size, 17);
  for (size_t block : zeroBlocks) {
    for (size_t i = block * 32768; i < std::min(size, (block + 1) * 32768); ++i) data[i] = 0;
  }
  return data;
}

bool Advise(const Bytes& input, TLzrw1Class& c) {
  TMemoryStream in{Bytes(input)};
  in.Seek(1234, TStream::soFromBeginning);
  c.UseStreams = true;
  c.InputStream = &in;
  const bool advised = c.Advise();
  EXPECT_EQ(in.Position(), 1234);
  return advised;
}

TEST(Lzrw1Advise, SamplesTheBlocksAtAThirdAndTwoThirds) {
  TLzrw1Class c;
  c.Method = cmLzrw1KH;
  EXPECT_FALSE(Advise(Bytes(98303, 0), c));
  EXPECT_EQ(c.Method, cmLzh);

  c.Method = cmLzrw1KH;
  EXPECT_TRUE(Advise(Blocks(98304, {1, 2}), c));
  EXPECT_EQ(c.Method, cmLzrw1KH);  // left alone when sampling
  EXPECT_FALSE(Advise(Blocks(98304, {0, 1}), c));
  EXPECT_FALSE(Advise(Blocks(98304, {0, 2}), c));

  EXPECT_TRUE(Advise(Blocks(300000, {3, 6}), c));
  EXPECT_FALSE(Advise(Blocks(300000, {0, 1, 2, 4, 5, 7, 8, 9}), c));

  // The threshold is a percentage of the sampled size.
  const Bytes text = sample::EnglishText(200000, 3);
  c.AutoThreshold = 100;
  EXPECT_TRUE(Advise(text, c));
  c.AutoThreshold = 0;
  EXPECT_FALSE(Advise(text, c));
}

TEST(Lzrw1Advise, AutoMethodWritesWhatAdviseChose) {
  TLzrw1Class c;
  Outcome run = Compress(Blocks(300000, {3, 6}), cmAuto, &c);
  EXPECT_EQ(Bytes(run.output.begin(), run.output.begin() + 4), kWrzl);
  EXPECT_EQ(c.Method, cmAuto);
  run = Compress(Blocks(300000, {}), cmAuto, &c);
  EXPECT_EQ(run.output[0], '!');
  run = Compress(Bytes(1000, 0), cmAuto, &c);
  EXPECT_EQ(run.output[0], '!');
  EXPECT_EQ(c.Method, cmLzh);
  const Bytes input = Blocks(300000, {3, 6});
  EXPECT_EQ(Decompress(Compress(input, cmAuto).output).output, input);
}

// Failures of the steps before the guarded part reach the caller even with streams.
TEST(Lzrw1Streams, FailuresBeforeTheDataReachTheCaller) {
  auto message = [](auto operation) {
    try {
      operation();
    } catch (const ELzrw1Exception& e) {
      return e.Message();
    }
    return std::string("no failure");
  };
  FaultyStream in{Bytes(200000, 1)};
  FaultyStream out;
  TLzrw1Class c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;

  in.failSize = true;
  EXPECT_EQ(message([&] { c.Compress(); }),
            "Lzrw1 compression : Failed to obtain the size of the input stream !");
  EXPECT_EQ(message([&] { c.Advise(); }), "Lzrw1 advise : can not get size of inputstream !");
  in.failSize = false;
  in.failSeek = true;
  EXPECT_EQ(message([&] { c.Compress(); }),
            "Lzrw1 (de)compression : Failed to initialize input stream !");
  EXPECT_EQ(message([&] { c.Decompress(); }),
            "Lzrw1 (de)compression : Failed to initialize input stream !");
  EXPECT_EQ(message([&] { c.Advise(); }), "Lzrw1 edvise : can not initialize the input stream!");
  in.failSeek = false;
  out.failSeek = true;
  EXPECT_EQ(message([&] { c.Compress(); }),
            "Lzrw1 (de)compression : Failed to initialize output stream !");
  out.failSeek = false;
  in.failReadsAfter = 0;
  EXPECT_EQ(message([&] { c.Advise(); }), "Lzrw1 advise : input stream read error !");
}

TEST(Lzrw1Streams, FailuresInsideTheDataAreAbsorbed) {
  const Bytes input = sample::EnglishText(100000, 8);
  for (uint8_t method : {cmLzh, cmLzrw1KH}) {
    SCOPED_TRACE(int(method));
    FaultyStream in{Bytes(input)};
    FaultyStream out;
    out.failWritesAfter = 40000;
    TLzrw1Class c;
    c.UseStreams = true;
    c.Method = method;
    c.InputStream = &in;
    c.OutputStream = &out;
    const int32_t written = c.Compress();
    EXPECT_LE(written, 40000);
    EXPECT_LE(out.Size(), 40000);

    FaultyStream broken{Bytes(input)};
    broken.failReadsAfter = 0;
    TMemoryStream sink;
    c.InputStream = &broken;
    c.OutputStream = &sink;
    EXPECT_EQ(c.Compress(), 8);  // the header, then the failed read
  }
}

TEST(Lzrw1Advise, FileModeMessagesAndCleanUp) {
  testing::TempDir dir;
  TLzrw1Class c;
  c.InputFileName = dir.File("missing.wav");
  try {
    c.Advise();
    FAIL() << "no failure";
  } catch (const ELzrw1Exception& e) {
    EXPECT_EQ(e.Message(), "Lzrw1 advise : can not get the size of : " + c.InputFileName);
  }
  testing::WriteBytes(dir.File("big.wav"), Blocks(300000, {3, 6}));
  c.InputFileName = dir.File("big.wav");
  EXPECT_TRUE(c.Advise());
}

}  // namespace
}  // namespace tovak
