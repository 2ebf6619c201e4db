#include "components/jpeg_dc_decoder.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "components/jpeg_codec.h"
#include "components/picture_error.h"
#include "support/libjpeg_writer.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;

// A photo with fine detail and noise on top, so that blocks carry many AC coefficients, long
// codes among them.
QImage Detailed(int width, int height, unsigned seed = 1) {
  QImage image = testing::PhotoLike(width, height);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-40, 40);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int ripple = int(30 * std::sin(x * 0.9) * std::cos(y * 0.7));
      auto add = [&](int v) { return std::clamp(v + ripple + noise(random), 0, 255); };
      line[x] = qRgb(add(qRed(line[x])), add(qGreen(line[x])), add(qBlue(line[x])));
    }
  }
  return image;
}

using Options = testing::LibjpegOptions;

Bytes Encode(const QImage& image, const Options& o) {
  return testing::EncodeWithLibjpeg(image, o);
}

// What libjpeg-turbo gives at 1/8, warnings and all; null when it fails outright.
QImage Reference(const Bytes& jpeg) {
  tjhandle handle = tjInitDecompress();
  int width = 0, height = 0, sampling = 0, colourspace = 0;
  QImage image;
  if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &sampling,
                          &colourspace) == 0 ||
      tjGetErrorCode(handle) == TJERR_WARNING) {
    const tjscalingfactor eighth = {1, 8};
    image = QImage(TJSCALED(width, eighth), TJSCALED(height, eighth), QImage::Format_RGB32);
    if (tjDecompress2(handle, jpeg.data(), jpeg.size(), image.bits(), image.width(),
                      int(image.bytesPerLine()), image.height(), TJPF_BGRX, 0) != 0 &&
        tjGetErrorCode(handle) == TJERR_FATAL) {
      image = QImage();
    }
  }
  tjDestroy(handle);
  return image;
}

// What DecodeJpeg gave at 1/8 before it had a quicker way: null where it threw. It refuses
// streams whose header draws a warning, fatal errors, and streams that end early.
QImage LibjpegOnly(const Bytes& jpeg) {
  tjhandle handle = tjInitDecompress();
  int width = 0, height = 0, sampling = 0, colourspace = 0;
  QImage image;
  if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &sampling,
                          &colourspace) == 0 &&
      colourspace != TJCS_CMYK && colourspace != TJCS_YCCK &&
      int64_t{width} * height <= kMaxPicturePixels) {
    const tjscalingfactor eighth = {1, 8};
    image = QImage(TJSCALED(width, eighth), TJSCALED(height, eighth), QImage::Format_RGB32);
    if (tjDecompress2(handle, jpeg.data(), jpeg.size(), image.bits(), image.width(),
                      int(image.bytesPerLine()), image.height(), TJPF_BGRX, 0) != 0 &&
        (tjGetErrorCode(handle) == TJERR_FATAL ||
         std::string(tjGetErrorStr2(handle)).find("Premature end") != std::string::npos)) {
      image = QImage();
    }
  }
  tjDestroy(handle);
  return image;
}

QImage DecodeAtAnEighth(const Bytes& jpeg) {
  try {
    return DecodeJpeg(jpeg.data(), jpeg.size(), 1, 1);
  } catch (const EPictureError&) {
    return QImage();
  }
}

QImage Serial(const Bytes& jpeg) {
  return DecodeJpegDcOnly(jpeg.data(), jpeg.size(), 0.0);
}

struct Layout {
  const char* name;
  Options options;
};

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = [] {
    std::vector<Layout> list;
    Options o;
    o.components = 1, o.h = o.v = 1;
    list.push_back({"grey", o});
    o.components = 3;
    list.push_back({"4:4:4", o});
    o.h = 2;
    list.push_back({"4:2:2", o});
    o.h = 1, o.v = 2;
    list.push_back({"4:4:0", o});
    o.h = 2;
    list.push_back({"4:2:0", o});
    return list;
  }();
  return layouts;
}

void ExpectLikeLibjpeg(const QImage& picture, const Options& options, const std::string& what) {
  const Bytes jpeg = Encode(picture, options);
  const QImage got = Serial(jpeg);
  ASSERT_FALSE(got.isNull()) << what;
  ASSERT_EQ(got.format(), QImage::Format_RGB32) << what;
  EXPECT_EQ(got, Reference(jpeg)) << what;
}

TEST(JpegDcDecoder, GivesWhatLibjpegGivesAtAnEighth) {
  // Sizes that are and are not whole blocks and MCUs, down to a single column.
  const QSize sizes[] = {{1, 9}, {8, 8}, {17, 33}, {203, 157}, {640, 480}};
  for (const Layout& layout : Layouts()) {
    for (const QSize size : sizes) {
      for (const bool optimize : {false, true}) {
        Options o = layout.options;
        o.optimize = optimize;
        ExpectLikeLibjpeg(Detailed(size.width(), size.height()), o,
                          std::string(layout.name) + " " + std::to_string(size.width()) + "x" +
                              std::to_string(size.height()) + (optimize ? " optimised" : ""));
      }
    }
  }
}

TEST(JpegDcDecoder, ExtremeCoefficientsAndQualities) {
  // Quality 100 brings the largest values and the rarest, longest codes; quality 5 the
  // largest quantisers, where rounding and range limits matter.
  for (const int quality : {5, 50, 100}) {
    Options o = Layouts()[1].options;
    o.quality = quality;
    QImage image = Detailed(160, 120, unsigned(quality));
    // Hard black and white edges push samples beyond the range.
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 40; ++x) {
        image.setPixel(x, y, (x / 3 + y / 5) % 2 ? 0xFFFFFFFF : 0xFF000000);
      }
    }
    ExpectLikeLibjpeg(image, o, "quality " + std::to_string(quality));
  }
}

// Chroma quantisers no encoder writes put 4:2:0 chroma far outside the range, or its
// dequantised terms beyond 16 bits. There libjpeg-turbo's plain and SIMD inverse DCTs part ways
// (one wraps, the other saturates), so such streams are left to it.
TEST(JpegDcDecoder, LeavesFarOutOfRangeChromaToLibjpeg) {
  const Bytes jpeg = Encode(Detailed(96, 64, 5), Layouts()[4].options);
  size_t scan = 2;  // the scan header, after every table
  while (jpeg[scan + 1] != 0xDA) scan += 2 + (jpeg[scan + 2] << 8 | jpeg[scan + 3]);
  struct Quantisers {
    int dc, ac;
  };
  for (const Quantisers q : {Quantisers{255, 1}, {1, 255}, {255, 255}, {3000, 1}, {1, 3000}}) {
    // A second chroma table, which the scan then uses, just before it.
    const bool wide = q.dc > 255 || q.ac > 255;
    Bytes table = {0xFF, 0xDB, 0, uint8_t(3 + 64 * (wide ? 2 : 1)), uint8_t(wide << 4 | 1)};
    for (int k = 0; k < 64; ++k) {
      const int value = k == 0 ? q.dc : q.ac;
      if (wide) table.push_back(uint8_t(value >> 8));
      table.push_back(uint8_t(value));
    }
    Bytes odd(jpeg.begin(), jpeg.begin() + scan);
    odd.insert(odd.end(), table.begin(), table.end());
    odd.insert(odd.end(), jpeg.begin() + scan, jpeg.end());
    const std::string what = std::to_string(q.dc) + " " + std::to_string(q.ac);
    const QImage reference = Reference(odd);
    ASSERT_FALSE(reference.isNull()) << what;
    EXPECT_EQ(DecodeAtAnEighth(odd), reference) << what;
    const QImage quick = Serial(odd);
    if (!quick.isNull()) {
      EXPECT_EQ(quick, reference) << what;
    }
    EXPECT_EQ(DecodeJpegDcOnly(odd.data(), odd.size(), 0.5), quick) << what;
  }
}

// Asked for an eighth of a picture of at most 4 x 4 pixels, libjpeg-turbo decodes it at a
// larger scale whose picture is just as large.
TEST(JpegDcDecoder, LeavesTinyPicturesToLibjpeg) {
  for (const Layout& layout : Layouts()) {
    for (int width = 1; width <= 5; ++width) {
      for (int height = 1; height <= 5; ++height) {
        const Bytes jpeg = Encode(Detailed(width, height), layout.options);
        const QImage got = Serial(jpeg);
        const std::string what =
            std::string(layout.name) + " " + std::to_string(width) + "x" + std::to_string(height);
        EXPECT_EQ(got.isNull(), width <= 4 && height <= 4) << what;
        if (!got.isNull()) {
          EXPECT_EQ(got, Reference(jpeg)) << what;
        }
      }
    }
  }
}

TEST(JpegDcDecoder, RestartIntervals) {
  for (const Layout& layout : Layouts()) {
    for (const int interval : {1, 3, 50}) {
      Options o = layout.options;
      o.restartInterval = interval;
      ExpectLikeLibjpeg(Detailed(203, 157), o,
                        std::string(layout.name) + " every " + std::to_string(interval));
    }
  }
}

TEST(JpegDcDecoder, TwoThreadsGiveWhatOneGives) {
  // The second thread starts wherever the split falls, in the middle of a code; the first
  // must meet it and use its work, or go on alone, without a pixel changing.
  for (const Layout& layout : Layouts()) {
    for (const int interval : {0, 1, 7}) {
      Options o = layout.options;
      o.restartInterval = interval;
      const Bytes jpeg = Encode(Detailed(480, 360, 7), o);
      const QImage serial = Serial(jpeg);
      ASSERT_FALSE(serial.isNull());
      int met = 0, tried = 0;
      for (double split = 0.03; split < 1; split += 0.0625, ++tried) {
        bool shared = false;
        const QImage got = DecodeJpegDcOnly(jpeg.data(), jpeg.size(), split, &shared);
        ASSERT_EQ(got, serial) << layout.name << " every " << interval << " split " << split;
        met += shared;
      }
      // Meeting is what makes it fast. Huffman codes fall back in step within a few symbols;
      // where the second thread reads nonsense first, it starts again further on.
      EXPECT_EQ(met, tried) << layout.name << " every " << interval;
    }
  }
  // Large streams are shared out without being asked; small ones are not worth a thread.
  Options o = Layouts()[1].options;
  o.quality = 95;
  const Bytes large = Encode(Detailed(900, 700), o);
  ASSERT_GT(large.size(), 200'000u);
  bool shared = false;
  EXPECT_EQ(DecodeJpegDcOnly(large.data(), large.size(), std::nullopt, &shared), Serial(large));
  EXPECT_EQ(shared, std::thread::hardware_concurrency() > 1);
  const Bytes small = Encode(Detailed(64, 48), o);
  EXPECT_FALSE(DecodeJpegDcOnly(small.data(), small.size(), std::nullopt, &shared).isNull());
  EXPECT_FALSE(shared);
}

TEST(JpegDcDecoder, TwoThreadsRefuseARestartMarkerInTheMiddleOfAnInterval) {
  // One restart interval announced for the whole picture but the last MCU, and its marker put
  // in the middle of the data: the first thread reads on through it and falls in step with
  // the second, which started there as if at a restart.
  Bytes jpeg = Encode(Detailed(160, 120, 5), Layouts()[0].options);
  const uint8_t sosMarker[] = {0xFF, 0xDA};
  const size_t sos =
      size_t(std::search(jpeg.begin(), jpeg.end(), sosMarker, sosMarker + 2) - jpeg.begin());
  ASSERT_LT(sos + 4, jpeg.size());
  const size_t scan = sos + 2 + size_t(jpeg[sos + 2] << 8 | jpeg[sos + 3]);
  size_t at = scan + (jpeg.size() - scan) * 3 / 5;
  while (jpeg[at - 1] == 0xFF) ++at;
  jpeg.insert(jpeg.begin() + at, {0xFF, 0xD0});
  const int interval = 20 * 15 - 1;
  jpeg.insert(jpeg.begin() + sos, {0xFF, 0xDD, 0, 4, uint8_t(interval >> 8), uint8_t(interval)});
  ASSERT_TRUE(Serial(jpeg).isNull());
  EXPECT_TRUE(DecodeJpegDcOnly(jpeg.data(), jpeg.size(), 0.3).isNull());
}

TEST(JpegDcDecoder, LeavesOtherStreamsToTheFullDecoder) {
  const QImage image = Detailed(96, 64);
  auto with = [](auto change) {
    Options o;
    change(o);
    return o;
  };
  const std::vector<std::pair<const char*, Options>> cases = {
      {"progressive", with([](Options& o) { o.progressive = true; })},
      {"arithmetic", with([](Options& o) { o.arithmetic = true; })},
      {"RGB", with([](Options& o) { o.rgb = true, o.h = o.v = 1; })},
      {"CMYK", with([](Options& o) { o.components = 4, o.h = o.v = 1; })},
      {"a scan a component", with([](Options& o) { o.separateScans = true; })},
      {"subsampled chroma", with([](Options& o) { o.chromaH = 2; })},
      {"4:1:1", with([](Options& o) { o.h = 4, o.v = 1; })},
  };
  for (const auto& [name, options] : cases) {
    const Bytes jpeg = Encode(image, options);
    EXPECT_TRUE(Serial(jpeg).isNull()) << name;
    // DecodeJpeg still scales them, through libjpeg.
    const QImage scaled = DecodeJpeg(jpeg.data(), jpeg.size(), 12, 8);
    EXPECT_EQ(scaled.size(), QSize(12, 8)) << name;
    if (options.components != 4) {
      EXPECT_EQ(scaled, Reference(jpeg)) << name;
    }
  }
  const Bytes empty;
  EXPECT_TRUE(DecodeJpegDcOnly(empty.data(), 0).isNull());
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
  EXPECT_TRUE(Serial(gif).isNull());
}

// Cuts all along the stream and a good many single-byte changes, through the serial and the
// split decoder: the picture libjpeg gives or none, never a read outside the stream (the
// sanitizers watch).
TEST(JpegDcDecoder, DamagedAndTruncatedStreams) {
  for (const int interval : {0, 4}) {
    Options o = Layouts()[1].options;
    o.restartInterval = interval;
    const Bytes jpeg = Encode(Detailed(160, 120, 3), o);

    for (size_t cut = 0; cut < jpeg.size(); cut += 1 + cut / 16) {
      const Bytes part(jpeg.begin(), jpeg.begin() + cut);
      EXPECT_TRUE(Serial(part).isNull()) << cut;
      EXPECT_TRUE(DecodeJpegDcOnly(part.data(), part.size(), 0.5).isNull()) << cut;
    }
    // The last two bytes are the end marker: without it the stream is cut short too.
    const Bytes noEnd(jpeg.begin(), jpeg.end() - 2);
    EXPECT_TRUE(Serial(noEnd).isNull());

    std::mt19937 random(42 + interval);
    std::uniform_int_distribution<size_t> where(0, jpeg.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    int decoded = 0;
    for (int trial = 0; trial < 400; ++trial) {
      Bytes damaged = jpeg;
      damaged[where(random)] = uint8_t(value(random));
      if (trial % 4 == 0) damaged[where(random)] = 0xFF;  // stray markers
      const QImage serial = Serial(damaged);
      const QImage split = DecodeJpegDcOnly(damaged.data(), damaged.size(), 0.4);
      ASSERT_EQ(serial, split) << trial;
      // DecodeJpeg refuses and accepts what it did before, with the same pixels.
      EXPECT_EQ(DecodeAtAnEighth(damaged), LibjpegOnly(damaged)) << trial;
      if (serial.isNull()) continue;
      ++decoded;
      // Whatever it accepts, it reads as libjpeg does.
      EXPECT_EQ(serial, Reference(damaged)) << trial;
    }
    EXPECT_GT(decoded, 20);  // changes to the coefficients themselves go unnoticed
  }
}

TEST(JpegDcDecoder, ScaledDecodingStillRefusesCutStreams) {
  const Bytes jpeg = EncodeJpeg(testing::PhotoLike(320, 240), 85);
  for (size_t cut : {size_t{20}, jpeg.size() / 3, jpeg.size() - 10, jpeg.size() - 2}) {
    EXPECT_THROW(DecodeJpeg(jpeg.data(), cut, 40, 30), EPictureError) << cut;
  }
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), 40, 30), Reference(jpeg));
}

}  // namespace
}  // namespace tovak
