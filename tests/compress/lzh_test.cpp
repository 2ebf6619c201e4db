#include "compress/lzh.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/lzh_reference.h"
#include "support/sample_data.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encode(const Bytes& input, int32_t* consumedOut = nullptr) {
  TLZH lzh;
  size_t pos = 0;
  Bytes out;
  int32_t consumed = -1;
  lzh.Encode(
      consumed,
      [&](uint8_t* buffer, uint16_t, uint16_t& actual) {
        actual = 0;
        if (pos < input.size()) {
          *buffer = input[pos++];
          actual = 1;
        }
      },
      [&](const uint8_t* buffer, uint16_t count, uint16_t& actual) {
        out.insert(out.end(), buffer, buffer + count);
        actual = count;
      });
  if (consumedOut) *consumedOut = consumed;
  return out;
}

Bytes Decode(const Bytes& coded, int32_t size) {
  TLZH lzh;
  size_t pos = 0;
  Bytes out;
  lzh.Decode(
      size,
      [&](uint8_t* buffer, uint16_t, uint16_t& actual) {
        actual = 0;
        if (pos < coded.size()) {
          *buffer = coded[pos++];
          actual = 1;
        }
      },
      [&](const uint8_t* buffer, uint16_t count, uint16_t& actual) {
        out.insert(out.end(), buffer, buffer + count);
        actual = count;
      });
  return out;
}

Bytes FromString(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(Lzh, KnownStreams) {
  int32_t consumed = -1;
  EXPECT_EQ(Encode({}, &consumed), (Bytes{0xC6, 0x00}));
  EXPECT_EQ(consumed, 0);
  EXPECT_EQ(Encode(FromString("abc"), &consumed), (Bytes{0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_EQ(consumed, 3);
  EXPECT_EQ(Encode(Bytes(100, 0x61), &consumed), (Bytes{0xF6, 0xFB, 0x40, 0x16, 0x00, 0x00}));
  EXPECT_EQ(consumed, 100);
  EXPECT_TRUE(Decode({0xC6, 0x00}, 0).empty());
  EXPECT_EQ(Decode({0xF6, 0xFB, 0xBD, 0xE0}, 3), FromString("abc"));
}

// The coder must agree with the classic one to the bit: on small inputs, where the unset end of
// the ring decides ties, across the ring's wrap, and over long inputs with many model rebuilds.
TEST(Lzh, MatchesClassicCoderBitForBit) {
  std::vector<Bytes> inputs;
  for (size_t n : {1u, 2u, 3u, 4u, 59u, 60u, 61u, 119u, 4035u, 4036u, 4096u, 4097u, 8200u}) {
    inputs.push_back(sample::EnglishText(n, static_cast<uint32_t>(n)));
    inputs.push_back(sample::Runs(n, static_cast<uint32_t>(n)));
  }
  inputs.push_back(sample::EnglishText(300000, 7));
  inputs.push_back(sample::VoiceAudio(200000, 3));
  inputs.push_back(sample::RandomBytes(70000, 5));
  inputs.push_back(sample::Runs(150000, 9));
  inputs.push_back(Bytes(20000, ' '));  // the same bytes as the ring's fill
  Bytes zeros(5000, 0);
  inputs.push_back(zeros);
  for (const Bytes& input : inputs) {
    SCOPED_TRACE("size " + std::to_string(input.size()));
    const Bytes coded = Encode(input);
    ASSERT_EQ(coded, reference::LzhEncode(input));
    ASSERT_EQ(Decode(coded, static_cast<int32_t>(input.size())), input);
  }
}

// Skewed symbol frequencies grow the adaptive tree deep (15 levels with this data) and make the
// model rebuild often; codes of every length must come out as the classic coder sends them.
TEST(Lzh, SkewedDataBuildsDeepCodes) {
  Bytes input;
  uint32_t state = 12345;
  for (int i = 0; i < 300000; ++i) {
    state = state * 1103515245 + 12345;
    const uint32_t r = (state >> 8) & 0xFFFFF;
    // Byte value k appears about half as often as k - 1.
    int k = 0;
    while (k < 20 && (r >> k & 1)) ++k;
    state = state * 1103515245 + 12345;
    input.push_back(static_cast<uint8_t>(k * 4 + (state >> 30)));
  }
  const Bytes coded = Encode(input);
  EXPECT_EQ(coded, reference::LzhEncode(input));
  EXPECT_EQ(Decode(coded, static_cast<int32_t>(input.size())), input);
}

TEST(Lzh, DecodesToTheRequestedSizeFromZeroBitsWhenCutShort) {
  const Bytes input = sample::EnglishText(5000, 2);
  Bytes coded = Encode(input);
  coded.resize(coded.size() / 2);
  const Bytes decoded = Decode(coded, 5000);
  EXPECT_GE(decoded.size(), 5000u);
  EXPECT_LE(decoded.size(), 5000u + 59u);
  EXPECT_EQ(Bytes(decoded.begin(), decoded.begin() + 1000),
            Bytes(input.begin(), input.begin() + 1000));
  EXPECT_EQ(decoded, reference::LzhDecode(coded, 5000));
}

// Stops at the first bit beyond the input, however large the size asked for.
TEST(Lzh, StrictDecodeStopsAtTheEndOfTheInput) {
  class VectorSource : public LzhByteSource {
   public:
    explicit VectorSource(const Bytes& b) : bytes_(b) {}

   protected:
    bool Refill() override {
      if (given_) return false;
      given_ = true;
      cur_ = bytes_.data();
      end_ = cur_ + bytes_.size();
      return !bytes_.empty();
    }

   private:
    const Bytes& bytes_;
    bool given_ = false;
  };
  class VectorSink : public LzhByteSink {
   public:
    Bytes out;
    VectorSink() { cur_ = end_ = buffer_; }
    void Finish() {
      out.insert(out.end(), buffer_, cur_);
      cur_ = buffer_;
    }

   protected:
    void Drain() override {
      Finish();
      end_ = buffer_ + sizeof buffer_;
    }

   private:
    uint8_t buffer_[64];
  };

  const Bytes input = sample::EnglishText(3000, 4);
  const Bytes coded = Encode(input);
  TLZH lzh;
  {
    VectorSource source(coded);
    VectorSink sink;
    EXPECT_TRUE(lzh.Decode(3000, source, sink, true));
    sink.Finish();
    EXPECT_EQ(sink.out, input);
  }
  for (size_t cut = 0; cut < coded.size(); cut += 97) {
    const Bytes shortened(coded.begin(), coded.begin() + cut);
    VectorSource source(shortened);
    VectorSink sink;
    EXPECT_FALSE(lzh.Decode(0x7FFFFFFF, source, sink, true)) << cut;
    sink.Finish();
    EXPECT_LT(sink.out.size(), 3000u + 60u);
  }
}

}  // namespace
}  // namespace tovak
