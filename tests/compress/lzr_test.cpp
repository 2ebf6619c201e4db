#include "compress/lzr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "compress/compress_errors.h"
#include "support/lzr_reference.h"
#include "support/sample_data.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kBlock = TLZR::kMaxBlock;

Bytes Repeat(const std::string& text, size_t times) {
  Bytes out(text.size() * times);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(text[i % text.size()]);
  return out;
}

Bytes Fill(size_t count, uint8_t value) {
  return Bytes(count, value);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// Buffers are sized exactly (n source bytes, n + 6 destination bytes, L coded bytes, 32768 decoded
// bytes), so that AddressSanitizer reports any access past the promised limits.
class Coder {
 public:
  Bytes Compress(const uint8_t* data, size_t n) {
    const Bytes source(data, data + n);
    Bytes out(n + 6);
    const uint16_t length = lzr_.CompressBlock(source.data(), out.data(), static_cast<uint32_t>(n));
    EXPECT_GE(length, 1);
    EXPECT_LE(length, n + 1);
    out.resize(length);
    return out;
  }
  Bytes Compress(const Bytes& data) { return Compress(data.data(), data.size()); }

  Bytes Decompress(const Bytes& coded) {
    const Bytes source(coded);
    const uint32_t length =
        lzr_.DecompressBlock(source.data(), decoded_.get(), static_cast<uint32_t>(source.size()));
    EXPECT_LE(length, kBlock);
    return Bytes(decoded_.get(), decoded_.get() + std::min<size_t>(length, kBlock));
  }

  // The reference reads two bytes past n, so it gets a padded copy.
  Bytes Reference(const uint8_t* data, size_t n) {
    Bytes source(data, data + n);
    source.resize(n + 2, 0xA5);
    Bytes out(n + 6);
    out.resize(reference_.CompressBlock(source.data(), out.data(), static_cast<uint16_t>(n)));
    return out;
  }
  Bytes Reference(const Bytes& data) { return Reference(data.data(), data.size()); }

 private:
  TLZR lzr_;
  reference::Lzrw1KH reference_;
  std::unique_ptr<uint8_t[]> decoded_ = std::make_unique_for_overwrite<uint8_t[]>(kBlock);
};

// Compresses, compares with the reference coder byte for byte and checks the round trip.
void ExpectFaithful(Coder& coder, const uint8_t* data, size_t n) {
  const Bytes coded = coder.Compress(data, n);
  ASSERT_EQ(coded, coder.Reference(data, n)) << "n = " << n;
  ASSERT_EQ(coder.Decompress(coded), Bytes(data, data + n)) << "n = " << n;
}

void ExpectFaithful(Coder& coder, const Bytes& data) {
  ExpectFaithful(coder, data.data(), data.size());
}

void ExpectDamaged(Coder& coder, const Bytes& coded) {
  try {
    coder.Decompress(coded);
    ADD_FAILURE() << "a damaged block was accepted";
  } catch (const ELzrw1Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Lzrw1 : ", 0), 0u) << e.what();
  }
}

// Builds coded blocks by hand, for data that the coder would never produce.
struct Item {
  bool flagged;
  Bytes bytes;
};

Item LiteralItem(uint8_t value) {
  return {false, {value}};
}

Item CopyItem(int distance, int length) {
  const int key = distance << 4 | (length - 3);
  return {true, {uint8_t(key >> 8), uint8_t(key)}};
}

Item RunItem(size_t length, uint8_t value) {
  const size_t stored = length - 16;
  return {true, {0x00, uint8_t(stored >> 8), uint8_t(stored), value}};
}

Bytes Encode(const std::vector<Item>& items) {
  Bytes out = {0x40};
  for (size_t first = 0; first < std::max<size_t>(items.size(), 1); first += 16) {
    unsigned control = 0;
    for (size_t i = first; i < first + 16; ++i)
      control = control << 1 | (i < items.size() && items[i].flagged);
    out.insert(out.end(), {uint8_t(control >> 8), uint8_t(control)});
    for (size_t i = first; i < std::min(first + 16, items.size()); ++i)
      out.insert(out.end(), items[i].bytes.begin(), items[i].bytes.end());
  }
  return out;
}

TEST(LzrBlock, KnownBlocks) {
  struct Case {
    const char* name;
    Bytes input;
    Bytes coded;
  };
  const Case cases[] = {
      {"empty", {}, {0x80}},
      {"one byte", {0x7E}, {0x80, 0x7E}},
      {"too short to shrink", Repeat("abc", 1), {0x80, 0x61, 0x62, 0x63}},
      {"run of 100", Fill(100, 0x61), {0x40, 0x80, 0x00, 0x00, 0x00, 0x54, 0x61}},
      {"longest copy, then the table's newer position",
       Repeat("abc", 8),
       {0x40, 0x18, 0x00, 0x61, 0x62, 0x63, 0x00, 0x3F, 0x01, 0x20}},
      {"15 equal bytes are no run",
       Concat({Fill(15, 0x61), {0x62}}),
       {0x40, 0x40, 0x00, 0x61, 0x00, 0x1B, 0x62}},
      {"16 equal bytes are", Fill(16, 0x61), {0x40, 0x80, 0x00, 0x00, 0x00, 0x00, 0x61}},
      {"longest run and a literal",
       Fill(4096, 0x61),
       {0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 0x61, 0x61}},
      {"two runs",
       Fill(5000, 0x61),
       {0x40, 0xC0, 0x00, 0x00, 0x0F, 0xEF, 0x61, 0x00, 0x03, 0x79, 0x61}},
  };
  Coder coder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(coder.Compress(c.input), c.coded);
    EXPECT_EQ(coder.Reference(c.input), c.coded);
    EXPECT_EQ(coder.Decompress(c.coded), c.input);
  }
  EXPECT_EQ(coder.Decompress({}), Bytes{});
  EXPECT_EQ(coder.Decompress({0x40}), Bytes{});
  EXPECT_EQ(coder.Decompress({0x40, 0x00, 0x00}), Bytes{});
}

// "abc" followed by 13 copies of 18 bytes makes exactly 16 items; one more byte makes a 17th.
TEST(LzrBlock, ControlWordOnlyInFrontOfEachGroup) {
  Coder coder;
  Bytes sixteen = {0x40, 0x1F, 0xFF, 0x61, 0x62, 0x63, 0x00, 0x3F};
  for (int i = 0; i < 12; ++i) sixteen.insert(sixteen.end(), {0x01, 0x2F});
  const Bytes input = Repeat("abc", 79);
  ASSERT_EQ(input.size(), 3u + 13 * 18);
  EXPECT_EQ(coder.Compress(input), sixteen);
  EXPECT_EQ(coder.Decompress(sixteen), input);

  Bytes seventeen = sixteen;
  seventeen.insert(seventeen.end(), {0x00, 0x00, 0x61});
  const Bytes longer = Concat({input, {0x61}});
  EXPECT_EQ(coder.Compress(longer), seventeen);
  EXPECT_EQ(coder.Decompress(seventeen), longer);
}

// A copy reaches at most 4095 bytes back. A run in between keeps the table from forgetting
// the pattern, since positions inside a run are never entered.
TEST(LzrBlock, WindowEdge) {
  Coder coder;
  const Bytes pattern = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  for (const size_t distance : {4094u, 4095u, 4096u, 4097u}) {
    SCOPED_TRACE(distance);
    const Bytes input = Concat({pattern, Fill(distance - pattern.size(), 0xEE), pattern});
    const Bytes coded = coder.Compress(input);
    ExpectFaithful(coder, input);
    if (distance < 4096) {
      // 18 literals, the run and one copy: two control words.
      const uint16_t key = static_cast<uint16_t>(distance << 4 | 15);
      ASSERT_EQ(coded.size(), 1u + 2 * 2 + 18 + 4 + 2);
      EXPECT_EQ(Bytes(coded.end() - 2, coded.end()), Bytes({uint8_t(key >> 8), uint8_t(key)}));
    } else {
      // 18 literals, the run and 18 literals again: three control words.
      EXPECT_EQ(coded.size(), 1u + 3 * 2 + 18 + 4 + 18);
    }
  }
}

TEST(LzrBlock, RunLengthsAroundTheLimits) {
  Coder coder;
  for (const size_t run : {2u, 3u, 15u, 16u, 17u, 18u, 19u, 4094u, 4095u, 4096u, 4110u, 4111u,
                           4112u, 8190u, 8191u, 32767u, 32768u}) {
    SCOPED_TRACE(run);
    ExpectFaithful(coder, Fill(run, 0x00));
    ExpectFaithful(coder, Concat({Fill(run, 0x42), Fill(std::min(run, kBlock - run), 0x43)}));
    if (run + 4 <= kBlock) ExpectFaithful(coder, Concat({{1, 2, 3}, Fill(run, 0x42), {7}}));
  }
}

// Blocks whose end falls inside a copy, a run, or within the last few positions, where the
// coder stops looking ahead.
TEST(LzrBlock, EverySmallSizeMatchesTheReference) {
  const Bytes kinds[] = {sample::EnglishText(600, 3), sample::VoiceAudio(600, 3),
                         sample::RandomBytes(600, 3), sample::Runs(600, 3),
                         Repeat("abcab", 120),        Fill(600, 0x61)};
  Coder coder;
  for (const auto& data : kinds) {
    for (size_t n = 0; n <= data.size(); ++n) ExpectFaithful(coder, data.data(), n);
  }
}

// Many different three-byte strings with the same hash: the coder has to verify the bytes and
// still replace the table entry on every probe.
TEST(LzrBlock, HashCollisions) {
  const auto hash = [](unsigned a, unsigned b, unsigned c) {
    return ((((a << 4) ^ b) << 4 ^ c) * 40543u >> 4) & 0xFFF;
  };
  std::vector<Bytes> colliding;
  for (unsigned a = 0; a < 256 && colliding.size() < 64; ++a) {
    for (unsigned b = 0; b < 256; ++b) {
      for (unsigned c = 0; c < 256; ++c) {
        if (hash(a, b, c) == 0x123) colliding.push_back({uint8_t(a), uint8_t(b), uint8_t(c)});
      }
    }
  }
  ASSERT_GE(colliding.size(), 64u);
  std::mt19937 random(7);
  Coder coder;
  for (const size_t pool : {2u, 5u, 64u}) {
    Bytes input;
    while (input.size() < kBlock - 3) {
      const Bytes& piece = colliding[random() % pool];
      input.insert(input.end(), piece.begin(), piece.begin() + 1 + random() % 3);
    }
    SCOPED_TRACE(pool);
    ExpectFaithful(coder, input);
  }
}

TEST(LzrBlock, FullBlocksMatchTheReference) {
  Coder coder;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    for (const auto& data :
         {sample::EnglishText(4 * kBlock, seed), sample::VoiceAudio(4 * kBlock, seed),
          sample::RandomBytes(kBlock, seed), sample::Runs(4 * kBlock, seed)}) {
      for (size_t start = 0; start < data.size(); start += kBlock)
        ExpectFaithful(coder, data.data() + start, kBlock);
    }
  }
}

// Every block size, taking the prefixes of one buffer. (Random data is left out here: beyond the
// smallest sizes it is stored, which the comparison with the reference covers.)
TEST(LzrBlock, RoundTripsAtEverySize) {
  const Bytes kinds[] = {sample::EnglishText(kBlock, 9), sample::VoiceAudio(kBlock, 9),
                         sample::Runs(kBlock, 9)};
  Coder coder;
  for (const auto& data : kinds) {
    for (size_t n = 0; n <= kBlock; ++n) {
      const Bytes coded = coder.Compress(data.data(), n);
      const Bytes decoded = coder.Decompress(coded);
      ASSERT_TRUE(decoded.size() == n && std::equal(decoded.begin(), decoded.end(), data.begin()))
          << "n = " << n;
    }
  }
}

// Every size up to 4096, then a stride across the rest with every 4096 boundary and the end of
// the block approached from below.
TEST(LzrBlock, MatchesTheReferenceAcrossSizes) {
  std::vector<size_t> sizes(4097);
  std::iota(sizes.begin(), sizes.end(), 0);
  for (size_t n = 4097; n < kBlock; n += 251) sizes.push_back(n);
  for (size_t edge = 8192; edge <= kBlock; edge += 4096) {
    for (size_t n = edge - 20; n <= std::min(edge + 20, kBlock); ++n) sizes.push_back(n);
  }
  const Bytes kinds[] = {sample::EnglishText(kBlock, 9), sample::VoiceAudio(kBlock, 9),
                         sample::RandomBytes(kBlock, 9), sample::Runs(kBlock, 9)};
  Coder coder;
  for (const auto& data : kinds) {
    for (const size_t n : sizes) ExpectFaithful(coder, data.data(), n);
  }
}

TEST(LzrDamage, StoredBlocks) {
  Coder coder;
  Bytes stored(kBlock + 1, 0x33);
  stored[0] = 0x80;
  EXPECT_EQ(coder.Decompress(stored), Bytes(kBlock, 0x33));
  stored.push_back(0x33);
  ExpectDamaged(coder, stored);
}

TEST(LzrDamage, AnyOtherFlagReadsAsCoded) {
  Coder coder;
  const Bytes input = Repeat("abcdefgh", 100);
  Bytes coded = coder.Compress(input);
  ASSERT_EQ(coded[0], 0x40);
  for (const uint8_t flag : {0x00, 0x41, 0x7F, 0xC0, 0xFF}) {
    coded[0] = flag;
    EXPECT_EQ(coder.Decompress(coded), input) << int(flag);
  }
}

TEST(LzrDamage, ItemsReachingOutsideTheBlock) {
  Coder coder;
  ExpectDamaged(coder, Encode({CopyItem(1, 3)}));
  ExpectDamaged(coder, Encode({LiteralItem(0x61), CopyItem(2, 3)}));
  EXPECT_EQ(coder.Decompress(Encode({LiteralItem(0x61), CopyItem(1, 3)})), Fill(4, 0x61));
  // The same far from the block's ends.
  std::vector<Item> items(100, LiteralItem(0x61));
  items.push_back(CopyItem(100, 18));
  items.insert(items.end(), 40, LiteralItem(0x62));
  EXPECT_EQ(coder.Decompress(Encode(items)),
            Concat({Fill(100, 0x61), Fill(18, 0x61), Fill(40, 0x62)}));
  items[100] = CopyItem(101, 18);
  ExpectDamaged(coder, Encode(items));

  // Cut off: half a control word, half a copy, a run without its byte.
  ExpectDamaged(coder, {0x40, 0x00});
  ExpectDamaged(coder, {0x40, 0x40, 0x00, 0x61, 0x00});
  ExpectDamaged(coder, {0x40, 0x80, 0x00, 0x00, 0x00, 0x54});

  // A control word with nothing after it, or half of one, after a full group.
  const Bytes group = Encode(std::vector<Item>(16, LiteralItem(0x61)));
  EXPECT_EQ(coder.Decompress(group), Fill(16, 0x61));
  ExpectDamaged(coder, Concat({group, {0x00}}));
  ExpectDamaged(coder, Concat({group, {0x00, 0x00}}));
  EXPECT_EQ(coder.Decompress(Concat({group, {0x00, 0x00, 0x62}})),
            Concat({Fill(16, 0x61), {0x62}}));
}

TEST(LzrDamage, OutputBeyondTheBlock) {
  Coder coder;
  // The longest run an item can express is 4111 bytes, longer than a coder writes.
  std::vector<Item> runs(7, RunItem(4111, 0x5A));
  runs.push_back(RunItem(kBlock - 7 * 4111, 0x5A));
  EXPECT_EQ(coder.Decompress(Encode(runs)), Fill(kBlock, 0x5A));
  runs.back() = RunItem(kBlock - 7 * 4111 + 1, 0x5A);
  ExpectDamaged(coder, Encode(runs));
  runs.insert(runs.end(), 40, LiteralItem(0x5A));
  ExpectDamaged(coder, Encode(runs));

  // Running out of room in the middle of a long stretch of literals and copies.
  for (size_t slack = 0; slack < 48; ++slack) {
    std::vector<Item> items(15, RunItem(2048, 0x5A));
    items.push_back(RunItem(2048 - slack, 0x5A));
    for (int i = 0; i < 10; ++i) {
      items.insert(items.end(), 15 - i, LiteralItem(0x11));
      items.push_back(CopyItem(8 + i, 18 - i));
    }
    SCOPED_TRACE(slack);
    ExpectDamaged(coder, Encode(items));
  }

  std::vector<Item> copies = {LiteralItem(0x5A)};
  for (size_t produced = 1; produced < kBlock; produced += 18) {
    copies.push_back(CopyItem(1, static_cast<int>(std::min<size_t>(18, kBlock - produced))));
  }
  EXPECT_EQ(coder.Decompress(Encode(copies)), Fill(kBlock, 0x5A));
  for (const Item& extra : {LiteralItem(0x5A), CopyItem(1, 3), RunItem(16, 0x5A)}) {
    std::vector<Item> tooMany = copies;
    tooMany.push_back(extra);
    ExpectDamaged(coder, Encode(tooMany));
  }
}

// Every prefix of a block either decodes to a prefix of the data (cut between items) or is
// rejected, and never touches memory it should not.
TEST(LzrDamage, TruncatedAtEveryLength) {
  Coder coder;
  std::vector<Bytes> blocks;
  for (const auto& data :
       {sample::EnglishText(3000, 5), sample::Runs(3000, 5), sample::VoiceAudio(3000, 5)}) {
    blocks.push_back(coder.Compress(data));
    ASSERT_EQ(blocks.back()[0], 0x40);
  }
  // The longest stretch of literals a control word allows, then a copy or a run.
  for (const Item& last : {CopyItem(3, 18), RunItem(100, 0x62)}) {
    std::vector<Item> items;
    for (int i = 0; i < 8; ++i) {
      items.insert(items.end(), 15, LiteralItem(0x61));
      items.push_back(last);
    }
    blocks.push_back(Encode(items));
  }
  for (const auto& coded : blocks) {
    const Bytes data = coder.Decompress(coded);
    for (size_t length = 0; length < coded.size(); ++length) {
      const Bytes cut(coded.begin(), coded.begin() + length);
      try {
        const Bytes decoded = coder.Decompress(cut);
        ASSERT_LE(decoded.size(), data.size());
        ASSERT_TRUE(std::equal(decoded.begin(), decoded.end(), data.begin())) << length;
      } catch (const ELzrw1Exception&) {
      }
    }
  }
}

TEST(LzrDamage, RandomCorruption) {
  Coder coder;
  std::mt19937 random(11);
  const Bytes sources[] = {sample::EnglishText(kBlock, 2), sample::VoiceAudio(kBlock, 2),
                           sample::Runs(kBlock, 2), Repeat("ab", 2000)};
  for (const auto& data : sources) {
    const Bytes coded = coder.Compress(data);
    for (int trial = 0; trial < 300; ++trial) {
      Bytes damaged = coded;
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < flips; ++i) {
        damaged[1 + random() % (damaged.size() - 1)] ^= static_cast<uint8_t>(1 + random() % 255);
      }
      if (trial % 3 == 0) damaged.resize(1 + random() % damaged.size());
      try {
        coder.Decompress(damaged);
      } catch (const ELzrw1Exception&) {
      }
    }
  }
  // Arbitrary bytes as a coded block.
  for (int trial = 0; trial < 300; ++trial) {
    Bytes junk = sample::RandomBytes(1 + random() % 4000, trial);
    junk[0] = 0x40;
    try {
      coder.Decompress(junk);
    } catch (const ELzrw1Exception&) {
    }
  }
}

}  // namespace
}  // namespace tovak
