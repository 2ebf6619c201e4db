#include "compress/lzrw1_class.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/memory_stream.h"
#include "compress/compress_errors.h"
#include "support/container_runs.h"
#include "support/sample_data.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(const char* magic, uint32_t size) {
  return {uint8_t(magic[0]), uint8_t(magic[1]),  uint8_t(magic[2]),   uint8_t(magic[3]),
          uint8_t(size),     uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using Result = testing::ContainerRun;

Result CompressStream(const Bytes& input) {
  return testing::CompressInMemory(input);
}
Result DecompressStream(const Bytes& input) {
  return testing::DecompressInMemory(input);
}

TEST(Lzrw1ClassLzh, KnownContainers) {
  const Result empty = CompressStream({});
  EXPECT_EQ(empty.output, Concat(Header("!HZL", 0), {0xC6, 0x00}));
  EXPECT_EQ(empty.count, 10);

  const Result abc = CompressStream({'a', 'b', 'c'});
  EXPECT_EQ(abc.output, Concat(Header("!HZL", 3), {0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_EQ(abc.count, 12);

  const Result run = CompressStream(Bytes(100, 0x61));
  EXPECT_EQ(run.output, Concat(Header("!HZL", 100), {0xF6, 0xFB, 0x40, 0x16, 0x00, 0x00}));

  for (const Result* r : {&empty, &abc, &run}) {
    const Result back = DecompressStream(r->output);
    EXPECT_EQ(back.count, static_cast<int32_t>(back.output.size()));
  }
  EXPECT_EQ(DecompressStream(abc.output).output, (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(DecompressStream(run.output).output, Bytes(100, 0x61));
}

TEST(Lzrw1ClassLzh, RoundTripsAcrossBufferBoundaries) {
  const Bytes text = sample::EnglishText(140000, 11);
  for (size_t n : {1u, 32767u, 32768u, 32769u, 65535u, 65536u, 65537u, 140000u}) {
    SCOPED_TRACE(n);
    const Bytes input(text.begin(), text.begin() + n);
    const Result packed = CompressStream(input);
    EXPECT_EQ(packed.count, static_cast<int32_t>(packed.output.size()));
    const Result back = DecompressStream(packed.output);
    EXPECT_EQ(back.count, static_cast<int32_t>(n));
    EXPECT_EQ(back.output, input);
  }
  // Incompressible data grows past several output buffers.
  const Bytes noise = sample::RandomBytes(100000, 4);
  EXPECT_EQ(DecompressStream(CompressStream(noise).output).output, noise);
}

TEST(Lzrw1Class, StreamsStartWhereTheyStandAndCountTheWholeInput) {
  const Bytes input = sample::EnglishText(5000, 3);
  TMemoryStream in{Bytes(input)};
  TMemoryStream out{Bytes{'X', 'Y'}};
  in.Seek(1000, TStream::soFromBeginning);
  out.Seek(2, TStream::soFromBeginning);
  int calls = 0;
  TLzrw1Class c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;
  c.ProcessMessages = [&] { ++calls; };
  const int32_t written = c.Compress();
  EXPECT_GT(calls, 0);
  EXPECT_EQ(in.Position(), 5000);
  EXPECT_EQ(out.Position(), 2 + written);
  EXPECT_EQ(c.BytesRead(), 4000);
  EXPECT_EQ(c.UncompressedSize(), 5000);  // the whole stream, not what remained
  EXPECT_EQ(out.Bytes()[0], 'X');
  const Bytes container(out.Bytes().begin() + 2, out.Bytes().end());
  EXPECT_EQ(container[4] | container[5] << 8, 5000);

  // The body holds the 4000 bytes read; the size field says 5000, so expanding them fails the
  // size check quietly in stream mode.
  const Result back = DecompressStream(container);
  EXPECT_EQ(back.output.size(), 0u);
}

TEST(Lzrw1Class, DamagedContainersInStreamModeEndQuietly) {
  // Not a container: nothing is written and the count is what it was.
  Result r = DecompressStream({'R', 'I', 'F', 'F', 0, 0, 0, 0});
  EXPECT_EQ(r.count, 0);
  EXPECT_TRUE(r.output.empty());
  r = DecompressStream({'!', 'H'});  // a short header
  EXPECT_EQ(r.count, 0);

  // Truncated: fails before passing garbage off as data.
  const Bytes input = sample::EnglishText(100000, 5);
  const Bytes packed = CompressStream(input).output;
  for (size_t cut : {size_t{9}, size_t{100}, packed.size() / 2, packed.size() - 1}) {
    SCOPED_TRACE(cut);
    r = DecompressStream(Bytes(packed.begin(), packed.begin() + cut));
    EXPECT_LT(r.count, 100000);
    EXPECT_EQ(r.count % 32768, 0);  // only whole buffers left before the failure
    EXPECT_EQ(Bytes(r.output.begin(), r.output.end()),
              Bytes(input.begin(), input.begin() + r.count));
  }

  // A size field far larger than the data.
  r = DecompressStream(Concat(Header("!HZL", 0x7FFFFFFF), {0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_EQ(r.count, 0);
}

// Tells each failure apart in file mode; the partial output never survives.
class Lzrw1ClassFiles : public ::testing::Test {
 protected:
  std::string Fail(bool compress, const std::string& in, const std::string& out,
                   uint8_t method = cmLzh) {
    TLzrw1Class c;
    c.InputFileName = in;
    c.OutputFileName = out;
    c.Method = method;
    try {
      compress ? c.Compress() : c.Decompress();
    } catch (const ELzrw1Exception& e) {
      EXPECT_FALSE(std::filesystem::exists(out)) << out;
      return e.Message();
    }
    ADD_FAILURE() << "no failure";
    return {};
  }

  testing::TempDir dir;
  std::string in = dir.File("in");
  std::string out = dir.File("out");
};

TEST_F(Lzrw1ClassFiles, EveryFailureHasItsMessage) {
  EXPECT_EQ(Fail(true, dir.File("none"), out),
            "Lzrw1 compression : Failed to obtain the size of : " + dir.File("none"));
  EXPECT_EQ(Fail(false, dir.File("none"), out),
            "Lzrw1 (de)compression : Failed to open input file : " + dir.File("none"));
  testing::WriteBytes(in, {'a'});
  EXPECT_EQ(Fail(true, in, dir.File("no/dir/out")),
            "Lzrw1 (de)compression : Failed to open output file : " + dir.File("no/dir/out"));

  testing::WriteBytes(in, {'R', 'I', 'F', 'F', 1, 2, 3, 4, 5});
  EXPECT_EQ(Fail(false, in, out), in + " : Lzrw1 decompression : this file has no valid header !");
  testing::WriteBytes(in, {'!', 'H', 'Z'});
  EXPECT_EQ(Fail(false, in, out), "Lzrw1 : Error reading from input file : " + in);
  testing::WriteBytes(in, Header("!HZL", 5));
  EXPECT_EQ(Fail(false, in, out),
            "Lzrw1 (LZH decompression) : Compressed data is truncated or damaged !");
  // A size field no body of this length could yield is refused before decoding; so is a
  // negative one.
  testing::WriteBytes(in, Concat(Header("!HZL", 0x7FFFFFFF), sample::RandomBytes(1 << 20, 9)));
  EXPECT_EQ(Fail(false, in, out),
            "Lzrw1 (LZH decompression) : Compressed data is truncated or damaged !");
  testing::WriteBytes(in, Concat(Header("!HZL", 0xFFFFFFFF), {0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_EQ(Fail(false, in, out),
            "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !");

  // 100 bytes coded as a literal and matches of 60 and 39: a size of 62 ends inside the last match.
  testing::WriteBytes(in, Concat(Header("!HZL", 62), {0xF6, 0xFB, 0x40, 0x16, 0x00, 0x00}));
  EXPECT_EQ(Fail(false, in, out),
            "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !");
}

// Creating the output must not truncate the input, whatever name leads to it, and the failure
// must not delete it either.
TEST_F(Lzrw1ClassFiles, NeverWritesOverItsOwnInput) {
  const Bytes voice = sample::VoiceAudio(5000, 4);
  const Bytes packed = CompressStream(voice).output;
  const std::string hard = dir.File("hard");
  const std::string soft = dir.File("soft");
  testing::WriteBytes(in, voice);
  std::filesystem::create_hard_link(in, hard);
  std::filesystem::create_symlink(in, soft);
  for (bool compress : {true, false}) {
    const Bytes& original = compress ? voice : packed;
    testing::WriteBytes(in, original);
    for (const std::string& name : {in, hard, soft}) {
      SCOPED_TRACE(name);
      TLzrw1Class c;
      c.InputFileName = in;
      c.OutputFileName = name;
      c.Method = cmAuto;
      try {
        compress ? c.Compress() : c.Decompress();
        ADD_FAILURE() << "no failure";
      } catch (const ELzrw1Exception& e) {
        EXPECT_EQ(e.Message(), "Lzrw1 (de)compression : Failed to open output file : " + name);
      }
      EXPECT_EQ(testing::ReadBytes(in), original);
    }
  }
  // A link to a file that does not exist yet is an ordinary new output.
  std::filesystem::create_symlink(dir.File("new"), dir.File("dangling"));
  TLzrw1Class c;
  c.InputFileName = in;
  c.OutputFileName = dir.File("dangling");
  EXPECT_EQ(c.Decompress(), 5000);
  EXPECT_EQ(testing::ReadBytes(dir.File("new")), voice);
}

TEST_F(Lzrw1ClassFiles, RoundTripThroughFiles) {
  const Bytes voice = sample::VoiceAudio(70000, 2);
  testing::WriteBytes(in, voice);
  TLzrw1Class c;
  c.InputFileName = in;
  c.OutputFileName = out;
  const int32_t written = c.Compress();
  EXPECT_EQ(written, std::filesystem::file_size(out));
  EXPECT_EQ(c.BytesRead(), 70000);
  c.InputFileName = out;
  c.OutputFileName = dir.File("back");
  EXPECT_EQ(c.Decompress(), 70000);
  EXPECT_EQ(c.BytesRead(), written);
  EXPECT_EQ(testing::ReadBytes(dir.File("back")), voice);
}

}  // namespace
}  // namespace tovak
