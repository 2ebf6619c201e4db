#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "builder/plimo.h"
#include "builder/record_pool.h"
#include "support/package_fixture.h"
#include "support/sample_data.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using testing::ReadBytes;

size_t ThreadCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& task : fs::directory_iterator("/proc/self/task")) ++count;
  return count;
}

class ParallelBuild : public ::testing::Test, protected testing::PackageFixture {
 protected:
  struct Outcome {
    bool built = false;
    Bytes package;
    std::vector<int32_t> progress;
    std::vector<std::string> unreadable;
    std::string error;
  };

  Outcome Build(int32_t jobs) {
    TPlimo builder(paths);
    builder.SetPictures(pictures);
    builder.SetMessages(messages);
    builder.SetVoices(voices);
    builder.SetOptions(maxWidth, maxHeight, quality);
    builder.TrailerFlag = 1;
    builder.Jobs = jobs;
    Outcome outcome;
    builder.OnProgress = [&](int32_t current, int32_t total) {
      EXPECT_EQ(total, builder.PictureCount());
      outcome.progress.push_back(current);
    };
    outcome.built = builder.Build();
    if (outcome.built) outcome.package = ReadBytes(builder.OutputFile);
    EXPECT_EQ(outcome.built, fs::exists(builder.OutputFile));
    outcome.unreadable = builder.UnreadablePictures;
    outcome.error = builder.LastError;
    return outcome;
  }

  void ExpectSameAsOneThread(const std::string& what) {
    const Outcome one = Build(1);
    const Outcome many = Build(4);
    EXPECT_TRUE(one.built) << what << one.error;
    EXPECT_EQ(many.built, one.built) << what;
    EXPECT_TRUE(many.package == one.package) << what;
    EXPECT_EQ(many.progress, one.progress) << what;
    EXPECT_EQ(many.unreadable, one.unreadable) << what;
  }

  std::vector<std::string> pictures, messages, voices;
  int32_t maxWidth = 0, maxHeight = 0, quality = 0;
};

TEST_F(ParallelBuild, PackagesAreTheSameByteForByteAsWithOneThread) {
  testing::WriteBytes(dir.File("bad.png"), Bytes{'n', 'o', 't'});
  ASSERT_TRUE(testing::PhotoLike(120, 80).save(QString::fromStdString(dir.File("f.png"))));
  testing::WriteBytes(dir.File("v.wav"), sample::VoiceAudio(3000, 1));
  testing::WriteBytes(dir.File("w.wav"), sample::VoiceAudio(2000, 2));
  std::ofstream(paths.ProgramFolder() + "Tovak! Urls.ini")
      << "[Settings]\nUseInPlayer=1\nMenuItems=0\nLanguages=2\n";
  pictures = {Picture("a.jpg", 300, 200), dir.File("bad.png"), Picture("c.JPG", 90, 120),
              dir.File("f.png"), Picture("e.jpg", 400, 100)};
  messages = {Text("a.txt", "one\ntwo"), Text("empty.txt", ""), "", dir.File("gone.txt"),
              Text("e.txt", "last")};
  for (const auto& [w, h, q] : {std::tuple{0, 0, 0}, std::tuple{64, 48, 60}}) {
    maxWidth = w, maxHeight = h, quality = q;
    voices = {};
    ExpectSameAsOneThread("no voices, quality " + std::to_string(q));
    voices = {dir.File("v.wav"), dir.File("missing.wav"), "", dir.File("w.wav")};
    ExpectSameAsOneThread("voices, quality " + std::to_string(q));
  }

  pictures = {Picture("only.jpg")};
  messages = {""};
  ExpectSameAsOneThread("one picture");

  pictures.clear();
  messages.clear();
  for (int k = 0; k < 200; ++k) {
    pictures.push_back(Picture("p" + std::to_string(k) + ".jpg", 8 + k % 5, 6 + k % 3));
    messages.push_back(k % 3 ? "" : Text("m" + std::to_string(k) + ".txt", std::to_string(k)));
  }
  voices = {dir.File("v.wav")};
  ExpectSameAsOneThread("200 pictures");
}

TEST_F(ParallelBuild, TheFirstFailingRecordIsTheOneReported) {
  for (int k = 0; k < 12; ++k) pictures.push_back(Picture("p" + std::to_string(k) + ".jpg"));
  // Record 9 has no message, and so have all behind it, which the workers may reach first.
  messages.assign(9, "");
  const Outcome one = Build(1);
  EXPECT_EQ(one.error, "List index out of bounds (9)");
  for (int round = 0; round < 5; ++round) {
    const Outcome many = Build(4);
    EXPECT_FALSE(many.built);
    EXPECT_EQ(many.error, one.error);
    EXPECT_EQ(many.progress, one.progress);
  }
}

TEST_F(ParallelBuild, CancelStopsEveryWorkerAndLeavesNoFile) {
  for (int k = 0; k < 200; ++k) {
    pictures.push_back(Picture("p" + std::to_string(k) + ".jpg", 200, 150));
    messages.push_back("");
  }
  maxWidth = 64, maxHeight = 48, quality = 60;
  const size_t threadsBefore = ThreadCount();
  TPlimo builder(paths);
  builder.SetPictures(pictures);
  builder.SetMessages(messages);
  builder.SetOptions(maxWidth, maxHeight, quality);
  builder.Jobs = 4;
  std::chrono::steady_clock::time_point asked;
  builder.ProcessMessages = [&] {
    if (builder.CurrentIndex >= 20 && !builder.CancelRequested) {
      asked = std::chrono::steady_clock::now();
      builder.CancelRequested = true;
    }
  };
  EXPECT_FALSE(builder.Build());
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));
  EXPECT_EQ(builder.LastError, "Operation canceled by user.");
  EXPECT_FALSE(fs::exists(builder.OutputFile));
  EXPECT_EQ(ThreadCount(), threadsBefore);
}

TEST(RecordPool, WorkersStayWithinTheWindowAheadOfTheWriter) {
  std::atomic<int32_t> taken = 0, furthest = 0;
  RecordPool pool(100, 3, 6, [&](int32_t index, const std::function<bool()>&) {
    furthest = std::max(furthest.load(), index - taken.load());
    PreparedRecord record;
    record.picture = {static_cast<uint8_t>(index)};
    return record;
  });
  for (int32_t i = 0; i < 100; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    EXPECT_EQ(pool.Take(i, nullptr).picture, Bytes{static_cast<uint8_t>(i)});
    taken = i + 1;
  }
  // The test counts a record taken only once Take returned.
  EXPECT_LE(furthest, 6);
}

}  // namespace
}  // namespace tovak
