#include "builder/plimo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "audio/wav_reader.h"
#include "builder/package_format.h"
#include "builder/package_reader.h"
#include "builder/voice_record.h"
#include "support/any_wav.h"
#include "support/package_fixture.h"
#include "support/sample_data.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using testing::ReadBytes;

std::vector<int32_t> IndexOf(const Bytes& package, int pictures) {
  const size_t entries = 6 * pictures + 2;
  const size_t start = package.size() - 16 - 4 * entries;
  std::vector<int32_t> index;
  for (size_t k = 0; k < entries; ++k) {
    index.push_back(static_cast<int32_t>(GetLe32(&package[start + 4 * k])));
  }
  return index;
}

Bytes Slice(const Bytes& bytes, int32_t offset, int32_t size) {
  return Bytes(bytes.begin() + offset, bytes.begin() + offset + size);
}

Bytes Expand(const Bytes& container) {
  return ExpandVoiceRecord(container);
}

class Plimo : public ::testing::Test, protected testing::PackageFixture {
 protected:
  bool Build(const std::vector<std::string>& pictures, const std::vector<std::string>& messages,
             const std::vector<std::string>& voices) {
    builder.SetPictures(pictures);
    builder.SetMessages(messages);
    builder.SetVoices(voices);
    builder.TrailerFlag = 1;
    return builder.Build();
  }

  TPlimo builder{paths};
};

TEST_F(Plimo, OnePictureHasTheDocumentedLayout) {
  const std::string picture = Picture("a.JPG");
  const std::string message = Text("a.txt", "Hello\r\nlast line without break");
  const Bytes wav = sample::VoiceAudio(5000, 1);
  testing::WriteBytes(dir.File("a.wav"), wav);
  ASSERT_TRUE(Build({picture}, {message}, {dir.File("a.wav")})) << builder.LastError;

  const Bytes package = ReadBytes(builder.OutputFile);
  const auto E = static_cast<int32_t>(engine.size());
  const std::vector<int32_t> index = IndexOf(package, 1);
  const int32_t a = index[1], b = index[3], c = index[5], d = index[7];
  EXPECT_EQ(index, (std::vector<int32_t>{E, a, E + a, b, E + a + b, c, E + a + b + c, d}));
  EXPECT_EQ(package.size(), size_t(E + a + b + c + d + 48));
  EXPECT_EQ(Slice(package, 0, E), engine);
  EXPECT_EQ(Slice(package, E, a), ReadBytes(picture));  // a .JPG within limits, stored as is
  EXPECT_EQ(Expand(Slice(package, E + a, b)), wav);
  const std::string text(package.begin() + E + a + b, package.begin() + E + a + b + c);
  EXPECT_EQ(text, "Hello\r\nlast line without break\r\n");
  EXPECT_EQ(d, 0);  // no link menu
  const Bytes trailer(package.end() - 16, package.end());
  EXPECT_EQ(trailer, (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(builder.IndexCount(), 8);
  // The package runs as the engine does.
  EXPECT_EQ(fs::status(builder.OutputFile).permissions(), fs::perms::owner_all);
}

TEST_F(Plimo, MissingMessagesAndVoicesKeepTheirPlaces) {
  const std::string p1 = Picture("one.jpg"), p2 = Picture("two.jpg"), p3 = Picture("three.jpg");
  testing::WriteBytes(dir.File("v.wav"), sample::VoiceAudio(3000, 2));
  const std::string empty = Text("empty.txt", "");
  ASSERT_TRUE(Build({p1, p2, p3}, {"", empty, dir.File("gone.txt")}, {dir.File("v.wav")}))
      << builder.LastError;
  const Bytes package = ReadBytes(builder.OutputFile);
  const std::vector<int32_t> index = IndexOf(package, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(index[6 * i + 5], 0) << i;                 // every message record is empty
    EXPECT_EQ(index[6 * i + 4], index[6 * i + 6]) << i;  // at the offset of what follows
  }
  // Pictures beyond the voice list, and a voice path that is empty, get the empty container.
  const Bytes emptyVoice = {0x21, 0x48, 0x5A, 0x4C, 0, 0, 0, 0, 0xC6, 0x00};
  EXPECT_EQ(Slice(package, index[8], index[9]), emptyVoice);
  EXPECT_EQ(Slice(package, index[14], index[15]), emptyVoice);
  EXPECT_GT(index[3], 10);
}

TEST_F(Plimo, TheLinkMenuRecordFollowsItsSwitch) {
  const std::string p = Picture("p.jpg");
  std::ofstream(paths.ProgramFolder() + "Tovak! Urls.ini")
      << "[Settings]\nUseInPlayer=1\nMenuItems=0\nLanguages=2\n";
  ASSERT_TRUE(Build({p}, {""}, {}));
  Bytes package = ReadBytes(builder.OutputFile);
  std::vector<int32_t> index = IndexOf(package, 1);
  EXPECT_EQ(std::string(package.begin() + index[6], package.begin() + index[6] + index[7]),
            "2\r\n0\r\n");
  EXPECT_EQ(index[6] + index[7], static_cast<int32_t>(package.size() - 16 - 32));

  std::ofstream(paths.ProgramFolder() + "Tovak! Urls.ini")
      << "[Settings]\nUseInBuilder=1\nMenuItems=0\nLanguages=2\n";
  ASSERT_TRUE(Build({p}, {""}, {}));
  package = ReadBytes(builder.OutputFile);
  index = IndexOf(package, 1);
  EXPECT_EQ(index[7], 0);
  EXPECT_EQ(index[6], static_cast<int32_t>(package.size() - 16 - 32));
}

TEST_F(Plimo, ALinkMenuNoPlayerWouldReadGoesOutAsNone) {
  const std::string p = Picture("p.jpg");
  std::ofstream(paths.ProgramFolder() + "Tovak! Urls.ini")
      << "[Settings]\nUseInPlayer=1\nMenuItems=1001\nLanguages=1\n";
  ASSERT_TRUE(Build({p}, {""}, {}));
  EXPECT_EQ(IndexOf(ReadBytes(builder.OutputFile), 1)[7], 0);
}

TEST_F(Plimo, FailedBuildsLeaveNoFile) {
  const std::string p = Picture("p.jpg");
  EXPECT_FALSE(Build({}, {}, {}));
  EXPECT_EQ(builder.LastError, "No files found to process.");
  EXPECT_FALSE(fs::exists(builder.OutputFile));

  EXPECT_FALSE(Build({p, p}, {""}, {}));
  EXPECT_EQ(builder.LastError, "List index out of bounds (1)");
  EXPECT_FALSE(fs::exists(builder.OutputFile));
  EXPECT_FALSE(builder.Busy);

  // A successful package is removed when the next build starts, also when that one fails.
  ASSERT_TRUE(Build({p}, {""}, {}));
  fs::remove(paths.EngineFile());
  EXPECT_FALSE(Build({p}, {""}, {}));
  EXPECT_NE(builder.LastError.find(paths.EngineFile()), std::string::npos) << builder.LastError;
  EXPECT_FALSE(fs::exists(builder.OutputFile));
}

// Whatever sits under the package's name and is not a plain file stays as it was: a FIFO (with
// a reader waiting, so that a write would not block) and a folder.
TEST_F(Plimo, AFifoOrAFolderUnderThePackagesNameIsRefused) {
  const std::string p = Picture("p.jpg");
  fs::create_directories(builder.WorkFolder());
  ASSERT_EQ(mkfifo(builder.OutputFile.c_str(), 0600), 0);
  const int reader = ::open(builder.OutputFile.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_FALSE(Build({p}, {""}, {}));
  EXPECT_NE(builder.LastError.find("not a regular file"), std::string::npos) << builder.LastError;
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0);  // nothing was written into it
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(builder.OutputFile));

  fs::remove(builder.OutputFile);
  fs::create_directory(builder.OutputFile);
  testing::WriteBytes(builder.OutputFile + "/inside", {1});
  EXPECT_FALSE(Build({p}, {""}, {}));
  EXPECT_NE(builder.LastError.find("it is a folder"), std::string::npos) << builder.LastError;
  EXPECT_TRUE(fs::exists(builder.OutputFile + "/inside"));
}

// The builder refuses, naming the file and keeping the earlier show, what every player would
// refuse as damaged. Voices are sparse files: only their header is read.
TEST_F(Plimo, RecordsAPlayerWouldRefuseAreRefusedBeforeTheBuild) {
  const std::string p = Picture("p.jpg");
  ASSERT_TRUE(Build({p}, {""}, {}));
  const auto wav = [&](const std::string& name, uint16_t channels, uint16_t bits, uint32_t rate,
                       int64_t bytes) {
    const std::string path = dir.File(name);
    Bytes header = {'R', 'I', 'F', 'F', 0, 0, 0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                    ' ', 16,  0,   0,   0, 1, 0,   0,   0,   0,   0,   0,   0,   0,   0,
                    0,   0,   0,   0,   0, 0, 'd', 'a', 't', 'a', 0,   0,   0,   0};
    PutLe16(&header[22], channels);
    PutLe32(&header[24], rate);
    PutLe32(&header[28], rate * channels * bits / 8);
    PutLe16(&header[32], static_cast<uint16_t>(channels * bits / 8));
    PutLe16(&header[34], bits);
    PutLe32(&header[40], static_cast<uint32_t>(bytes));
    testing::WriteBytes(path, header);
    fs::resize_file(path, header.size() + static_cast<uintmax_t>(bytes));
    return path;
  };
  const int64_t hours2 = package::kLongestVoiceSeconds;
  for (const auto& [messages, voices] : std::vector<std::pair<std::string, std::string>>{
           {Text("big.txt", std::string(package::kLargestMessage + 1, 'a')), ""},
           // Stored with CR LF line ends, half a megabyte of line breaks outgrows the bound.
           {Text("lines.txt", std::string(package::kLargestMessage / 2 + 1, '\n')), ""},
           {"", wav("long.wav", 1, 8, 8000, (hours2 + 1) * 8000)},
           {"", wav("big.wav", 2, 16, 48000, package::kLargestVoice + 1)}}) {
    const std::string named = messages.empty() ? voices : messages;
    SCOPED_TRACE(named);
    EXPECT_FALSE(Build({p}, {messages}, {voices}));
    EXPECT_NE(builder.LastError.find(named), std::string::npos) << builder.LastError;
    EXPECT_TRUE(fs::exists(builder.OutputFile));
  }
  const std::string longest = wav("longest.wav", 1, 8, 1000, hours2 * 1000);
  EXPECT_TRUE(
      Build({p}, {Text("most.txt", std::string(package::kLargestMessage - 2, 'a'))}, {longest}))
      << builder.LastError;
}

TEST_F(Plimo, AMissingWorkingFolderIsCreated) {
  fs::remove_all(builder.WorkFolder());
  ASSERT_TRUE(Build({Picture("p.jpg")}, {""}, {}));
  EXPECT_TRUE(fs::exists(builder.OutputFile));

  // A working folder that cannot be made: the package cannot be created either.
  fs::remove_all(builder.WorkFolder());
  testing::WriteBytes(paths.ProgramFolder() + "Waves", {1});  // a file in its way
  EXPECT_FALSE(Build({Picture("p.jpg")}, {""}, {}));
  EXPECT_EQ(builder.LastError, "Unable to create file handle.");
}

TEST_F(Plimo, CancelAtEveryCheckpointFailsAndCleansUp) {
  const std::vector<std::string> pictures = {Picture("a.jpg", 900, 700), Picture("b.jpg")};
  builder.SetOptions(640, 480, 60);
  // Count the checkpoints of a whole build first.
  int checkpoints = 0;
  builder.ProcessMessages = [&] { ++checkpoints; };
  ASSERT_TRUE(Build(pictures, {"", ""}, {}));
  const int total = checkpoints;
  // Two pictures with four checkpoints each and three at the end, besides the compressor's own
  // calls.
  EXPECT_GE(total, 2 * 4 + 3);

  for (int stopAt = 1; stopAt <= total; ++stopAt) {
    int seen = 0;
    builder.ProcessMessages = [&] {
      if (++seen == stopAt) builder.CancelRequested = true;
    };
    EXPECT_FALSE(Build(pictures, {"", ""}, {})) << stopAt;
    EXPECT_EQ(builder.LastError, "Operation canceled by user.");
    EXPECT_FALSE(fs::exists(builder.OutputFile)) << stopAt;
  }

  // A cancel asked for during the progress call stops before that picture is loaded.
  builder.ProcessMessages = nullptr;
  std::vector<int32_t> progress;
  builder.OnProgress = [&](int32_t current, int32_t total) {
    progress.push_back(current);
    EXPECT_EQ(total, 2);
    if (current == 2) builder.CancelRequested = true;
  };
  EXPECT_FALSE(Build(pictures, {"", ""}, {}));
  EXPECT_EQ(progress, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(builder.CurrentIndex, 0);
}

TEST_F(Plimo, UnreadablePicturesAreStoredEmptyAndReported) {
  const std::string good = Picture("good.jpg");
  testing::WriteBytes(dir.File("bad.png"), Bytes{'n', 'o', 't'});
  testing::WriteBytes(dir.File("junk.jpg"), Bytes{'j', 'u', 'n', 'k'});
  // A JPEG cut short.
  Bytes cut = ReadBytes(good);
  cut.resize(cut.size() / 3);
  testing::WriteBytes(dir.File("cut.jpg"), cut);
  const std::string bad = dir.File("bad.png"), junk = dir.File("junk.jpg");
  const std::string voice = dir.File("v.wav");
  testing::WriteBytes(voice, sample::VoiceAudio(2000, 1));
  const std::vector<std::string> messages = {Text("1.txt", "one"), Text("2.txt", "two"),
                                             Text("3.txt", "three"), ""};
  for (int quality : {0, 60}) {
    builder.SetOptions(quality ? 32 : 0, quality ? 24 : 0, quality);
    ASSERT_TRUE(Build({good, bad, junk, dir.File("cut.jpg")}, messages, {"", voice}))
        << builder.LastError;
    PackageReader reader;
    reader.Open(builder.OutputFile);
    // Never the previous picture again, and the message and voice stay with their picture.
    EXPECT_FALSE(reader.Image(0).empty());
    EXPECT_TRUE(reader.Image(1).empty());
    EXPECT_TRUE(reader.Image(2).empty());
    EXPECT_EQ(reader.MessageLines(1), std::vector<std::string>{"two"});
    EXPECT_FALSE(ExpandVoiceRecord(reader.VoiceContainer(1)).empty());
    EXPECT_EQ(reader.MessageLines(2), std::vector<std::string>{"three"});
    EXPECT_EQ(builder.UnreadablePictures,
              (std::vector<std::string>{bad, junk, dir.File("cut.jpg")}))
        << quality;
  }
  ASSERT_TRUE(Build({good}, {""}, {}));
  EXPECT_TRUE(builder.UnreadablePictures.empty());
}

TEST_F(Plimo, ABuildStaysCancellableWhileAPictureIsDrawn) {
  // PostScript that never ends: only Cancel (or the drawing time limit) can stop it.
  const std::string eps =
      Text("loop.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n{} loop\n");
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] { return std::chrono::steady_clock::now() - start; };
  builder.ProcessMessages = [&] {
    if (elapsed() > std::chrono::milliseconds(300)) builder.CancelRequested = true;
  };
  EXPECT_FALSE(Build({Picture("a.jpg"), eps}, {"", ""}, {}));
  EXPECT_EQ(builder.LastError, "Operation canceled by user.");
  EXPECT_FALSE(fs::exists(builder.OutputFile));
  // Well before the drawing limit would have ended it.
  EXPECT_LT(elapsed(), std::chrono::seconds(8));
}

TEST_F(Plimo, LargePicturesComeOutTheSameWhileEventsArePumped) {
  // Over a megapixel, so their decoding, shrinking and encoding run beside the pumping thread.
  const std::string jpg = Picture("big.jpg", 1300, 900);
  const std::string png = dir.File("big.png");
  ASSERT_TRUE(testing::PhotoLike(900, 1300).save(QString::fromStdString(png)));
  const auto caller = std::this_thread::get_id();
  struct Options {
    int32_t maxWidth, maxHeight, quality;
  };
  for (const Options o : {Options{0, 0, 0}, Options{640, 480, 0}, Options{0, 0, 70}}) {
    builder.SetOptions(o.maxWidth, o.maxHeight, o.quality);
    builder.ProcessMessages = nullptr;
    ASSERT_TRUE(Build({jpg, png}, {"", ""}, {})) << builder.LastError;
    const Bytes quiet = ReadBytes(builder.OutputFile);
    bool pumpedElsewhere = false;
    builder.ProcessMessages = [&] { pumpedElsewhere |= std::this_thread::get_id() != caller; };
    ASSERT_TRUE(Build({jpg, png}, {"", ""}, {})) << builder.LastError;
    EXPECT_EQ(ReadBytes(builder.OutputFile), quiet) << o.maxWidth << " " << o.quality;
    EXPECT_FALSE(pumpedElsewhere);
  }
}

TEST_F(Plimo, FoldersAreNeitherVoicesNorMessages) {
  fs::create_directory(dir.File("voice.wav"));
  fs::create_directory(dir.File("message.txt"));
  ASSERT_TRUE(Build({Picture("a.jpg")}, {dir.File("message.txt")}, {dir.File("voice.wav")}))
      << builder.LastError;
  PackageReader reader;
  reader.Open(builder.OutputFile);
  EXPECT_TRUE(reader.MessageLines(0).empty());
  EXPECT_TRUE(ExpandVoiceRecord(reader.VoiceContainer(0)).empty());
}

// A voice the players would refuse is stored as 16-bit PCM they play, in the worker that packs
// it; one they play stays byte for byte; one that cannot be read stops the build before anything
// is written, naming its file.
TEST_F(Plimo, VoicesAreStoredAsThePlayersPlayThem) {
  const std::string phone = dir.File("phone.wav"), studio = dir.File("studio.wav");
  Bytes frames;
  for (int i = 0; i < 3000; ++i) frames.insert(frames.end(), {0, uint8_t(i), 0x10, 0, 0, 0xF0});
  testing::WriteBytes(phone, testing::AnyWav(1, 2, 48000, 24, frames));
  const Bytes kept = testing::AnyWav(1, 2, 48000, 16, Bytes(8000, 3));
  testing::WriteBytes(studio, kept);
  const std::string p = Picture("a.jpg");
  for (int jobs : {1, 2}) {
    builder.Jobs = jobs;
    ASSERT_TRUE(Build({p, p}, {"", ""}, {phone, studio})) << builder.LastError;
    PackageReader reader;
    reader.Open(builder.OutputFile);
    const Bytes converted = ExpandVoiceRecord(reader.VoiceContainer(0));
    const WavInfo info = ReadWavInfo(converted);
    EXPECT_EQ(info.format, TWaveFormatEx::Pcm(48000, 2, 16));
    EXPECT_EQ(info.dataSize, 3000u * 4);
    EXPECT_EQ(ExpandVoiceRecord(reader.VoiceContainer(1)), kept);
    EXPECT_TRUE(builder.LongVoices.empty());
  }

  const std::string adpcm = dir.File("adpcm.wav");
  testing::WriteBytes(adpcm, testing::AnyWav(2, 1, 8000, 4, Bytes(256, 0)));
  builder.Jobs = 1;
  EXPECT_FALSE(Build({p, p}, {"", ""}, {phone, adpcm}));
  EXPECT_EQ(
      builder.LastError.rfind(adpcm + " : this voice cannot be stored: its sound is compressed", 0),
      0u)
      << builder.LastError;
  EXPECT_FALSE(fs::exists(builder.OutputFile));
}

// A voice long enough to put a 32-bit engine at risk is told before building, by its picture;
// only its header is read (the file here is sparse).
TEST(VoiceCheck, TellsOfVoicesTooLongForA32BitEngine) {
  testing::TempDir dir;
  const std::string shortVoice = dir.File("short.wav"), longVoice = dir.File("long.wav");
  testing::WriteBytes(shortVoice, testing::AnyWav(1, 2, 48000, 16, Bytes(4000, 0)));
  // 30 minutes of 48 kHz 16-bit stereo: 330 MB.
  const uint32_t bytes = 30u * 60 * 48000 * 4;
  Bytes header = testing::AnyWav(1, 2, 48000, 16, {});
  header[40] = uint8_t(bytes), header[41] = uint8_t(bytes >> 8), header[42] = uint8_t(bytes >> 16),
  header[43] = uint8_t(bytes >> 24);
  testing::WriteBytes(longVoice, header);
  fs::resize_file(longVoice, header.size() + bytes);
  const VoiceCheck check = CheckVoices({shortVoice, "", longVoice});
  EXPECT_TRUE(check.refusedFile.empty());
  EXPECT_EQ(check.longFiles, std::vector<std::string>{longVoice});
  ASSERT_EQ(check.warnings.size(), 1u);
  EXPECT_EQ(check.warnings[0], longVoice +
                                   ": this voice lasts 30 minutes, 329 MB of sound when played; on "
                                   "a 32-bit Windows PC the slideshow may stop at picture 3 for "
                                   "lack of memory");
}

TEST_F(Plimo, RepeatedBuildsAndLargeSlideshows) {
  const std::string p = Picture("tiny.jpg", 8, 8);
  ASSERT_TRUE(Build({p, p, p}, {"", "", ""}, {}));
  ASSERT_TRUE(Build({p}, {""}, {}));
  EXPECT_EQ(builder.IndexCount(), 8);

  // More pictures than the old fixed index held.
  const std::vector<std::string> many(1100, p);
  ASSERT_TRUE(Build(many, std::vector<std::string>(1100), {})) << builder.LastError;
  PackageReader reader;
  reader.Open(builder.OutputFile);
  EXPECT_EQ(reader.PictureCount(), 1100);
  EXPECT_EQ(reader.Image(1099), ReadBytes(p));
}

}  // namespace
}  // namespace tovak
